#pragma once

#include <QString>
#include <QStringList>

namespace osago {

// The fixed choices of the policy editor, shared with the new-record command and the calculation.

inline const QString kHomeRegion = QStringLiteral("Тальградская область");
inline const QString kHomeLocality = QStringLiteral("Тальград");
inline const QString kDefaultDocument = QStringLiteral("Паспорт РФ");
inline const QString kDefaultCountry = QStringLiteral("РФ");
inline const QString kDefaultPostcode = QStringLiteral("394000");
inline const QString kFullYearOfUse = QStringLiteral("12");
inline const QString kDefaultTransitTerm = QStringLiteral("15 дней");

// The 19 localities of the home region, the regional capital first, the rest alphabetically.
const QStringList& homeLocalities();

// The 89 regions, the home region first. Spelled as the register has always stored them.
const QStringList& regions();

// Identity documents of a policyholder or owner (12).
const QStringList& identityDocuments();

// Countries offered for an address (5); any other country is typed in.
const QStringList& countries();

// Months of use of a vehicle registered in the country: "6" ... "12".
const QStringList& monthsOfUse();

// Terms for a vehicle registered abroad: "15 дней", then "1" ... "6" months.
const QStringList& transitTerms();

} // namespace osago
