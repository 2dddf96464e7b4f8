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
//   {{[}}...{{]}}          a part: a field with its caption or unit ("район: {{Район}}"), left out whole when
//                          it names fields and all of them are empty
// A field is empty when it holds nothing but blanks and a masked field's literals ("  .  .    "). A bare field is a
// part by itself. Blanks, commas and semicolons between two parts separate them and print only between two parts
// that print: "{{Индекс}}, {{Страна}}" with no postcode gives "РФ". A printed form thus reads as filled in by hand.
// Sections of different names may nest; a section of one name does not nest inside itself, nor a part inside a
// part. An unknown name fills in as empty text and a section or part left open runs to the end of the text
// (templateProblems() finds both).
QString fillTemplate(QStringView text, const FieldLookup& lookup, TemplateEscaping escaping);

// What is wrong with a template: unknown names, sections never closed, closings without a section, empty tags.
// Empty for a sound template.
QStringList templateProblems(QStringView text, const FieldLookup& lookup);

inline const QString kCheckedBox = QStringLiteral("☒");
inline const QString kUncheckedBox = QStringLiteral("☐");

} // namespace osago
