#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

namespace osago {

// The text of one named field of a document, or nothing for a name the documents do not know.
using FieldLookup = std::function<std::optional<QString>(QStringView name)>;

enum class TemplateEscaping { Html, Plain };

// Fills a document template. Tags:
//   {{name}}               the field's text, HTML-escaped for an HTML template
//   {{?name}}              a check box: "☒" when the field holds "Да", "☐" otherwise
//   {{#name}}...{{/name}}  the enclosed part only when the field holds "Да"
//   {{^name}}...{{/name}}  the enclosed part only when it does not
// Sections of different names may nest; a section of one name does not nest inside itself. An unknown name fills
// in as empty text and a section left open runs to the end of the text (templateProblems() finds both).
QString fillTemplate(QStringView text, const FieldLookup& lookup, TemplateEscaping escaping);

// What is wrong with a template: unknown names, sections never closed, closings without a section, empty tags.
// Empty for a sound template.
QStringList templateProblems(QStringView text, const FieldLookup& lookup);

inline const QString kCheckedBox = QStringLiteral("☒");
inline const QString kUncheckedBox = QStringLiteral("☐");

} // namespace osago
