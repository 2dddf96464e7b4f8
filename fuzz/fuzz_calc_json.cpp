// libFuzzer target: `osago calc` from the JSON reader to the report. Every input must end with
// exit status 0 and one JSON object on the output, or exit status 2 with one line on the errors
// and nothing on the output.
#include "tariff/calc/CalcCommand.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr int reportedKeys = 17;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QBuffer input;
    input.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    input.open(QIODevice::ReadOnly);
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    const int status = osago::runCalcCommand({}, input, output, errors, QDateTime(QDate(2012, 3, 15), QTime(9, 0)));

    if (status == 2) {
        require(output.data().isEmpty());
        require(errors.data().endsWith('\n') && errors.data().count('\n') == 1);
        return 0;
    }
    require(status == 0);
    require(errors.data().isEmpty());
    QJsonParseError parseError;
    const QJsonDocument report = QJsonDocument::fromJson(output.data(), &parseError);
    require(parseError.error == QJsonParseError::NoError && report.isObject());
    require(report.object().size() == reportedKeys);
    return 0;
}
