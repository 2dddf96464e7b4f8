#include "tariff/calc/CalcReport.h"

#include <array>

namespace osago {

namespace {

constexpr std::array<std::string_view, 13> reportedTexts = {
    "LabeledEditTB", "LabeledEditKT", "LabeledEditKBM",  "LabeledEditKVS",   "LabeledEditKO",
    "LabeledEditKM", "LabeledEditKS", "LabeledEditKP",   "LabeledEditKN",    "LabeledEditSuma",
    "LabeledEditMoshn", "EditRaschetGruz", "Edit1",
};

constexpr std::array<std::string_view, 3> reportedStates = {"CheckBox2", "CheckBox22", "CheckBoxGrubOK"};

void appendMember(std::string& report, std::string_view key, std::string_view value)
{
    report += report.size() > 1 ? ",\n    " : "\n    ";
    report += jsonString(key);
    report += ": ";
    report += value;
}

} // namespace

std::string jsonString(std::string_view text)
{
    static constexpr char hexDigits[] = "0123456789abcdef";
    std::string literal;
    literal.reserve(text.size() + 2);
    literal += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            literal += '\\';
            literal += c;
        } else if (byte < 0x20) {
            literal += "\\u00";
            literal += hexDigits[byte >> 4];
            literal += hexDigits[byte & 0xF];
        } else {
            literal += c;
        }
    }
    literal += '"';
    return literal;
}

std::string calcReport(const HeadlessEditor& editor, const std::optional<std::string>& error)
{
    std::string report = "{";
    for (const std::string_view name : reportedTexts)
        appendMember(report, name, jsonString(editor.text(name)));
    for (const std::string_view name : reportedStates)
        appendMember(report, name, editor.checked(name) ? "true" : "false");
    appendMember(report, "error", error ? jsonString(*error) : "null");
    report += "\n}\n";
    return report;
}

} // namespace osago
