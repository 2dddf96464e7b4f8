#include "tariff/calc/CalcRequest.h"

#include "tariff/calc/CalcReport.h"
#include "tariff/calc/EditorInputControls.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace osago {

namespace {

using Result = ConversionResult<CalcRequest>;

constexpr std::string_view unlimitedDriversBox = "CheckBoxDopusk";

Result unusable(std::string reason)
{
    return Result::failure(std::move(reason));
}

std::string quoted(const QString& text)
{
    return jsonString(text.toStdString());
}

// The column index of "ComboBox1" ... "ComboBox10", or driverAttributeCount for any other key.
std::size_t driverAttributeIndex(const QString& key)
{
    for (std::size_t i = 0; i < driverAttributeCount; ++i) {
        if (key == QStringLiteral("ComboBox%1").arg(i + 1))
            return i;
    }
    return driverAttributeCount;
}

std::optional<std::string> readControls(const QJsonObject& controls, CalcRequest& request)
{
    // Any date serves for the names and kinds.
    const std::vector<InputControl> table = editorInputControls({}, {});
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const std::string name = it.key().toStdString();
        const auto known =
            std::find_if(table.begin(), table.end(), [&](const InputControl& c) { return c.name == name; });
        if (known == table.end())
            return "unknown control " + quoted(it.key());
        if (holdsText(known->kind) && !it.value().isString())
            return "control " + quoted(it.key()) + " takes a text";
        if (!holdsText(known->kind) && !it.value().isBool())
            return "control " + quoted(it.key()) + " takes true or false";
    }
    for (const InputControl& control : table) {
        const QJsonValue value = controls.value(QString::fromUtf8(control.name.data(), qsizetype(control.name.size())));
        if (value.isString())
            request.texts.emplace_back(control.name, value.toString().toStdString());
        else if (value.isBool())
            request.states.emplace_back(control.name, value.toBool());
    }
    // A pair given twice must name one selected button.
    for (const auto& [name, state] : request.states) {
        const std::string_view partner = radioPartner(name);
        const auto other = std::find_if(request.states.begin(), request.states.end(),
                                        [&](const auto& given) { return given.first == partner; });
        if (other != request.states.end() && other->second == state)
            return "radio buttons " + jsonString(name) + " and " + jsonString(partner) + " contradict each other";
    }
    return std::nullopt;
}

std::optional<std::string> readDrivers(const QJsonArray& drivers, CalcRequest& request)
{
    if (drivers.size() > qsizetype(maxDrivers))
        return "at most " + std::to_string(maxDrivers) + " drivers can be listed";
    for (const QJsonValue& driver : drivers) {
        if (!driver.isObject())
            return "each driver must be an object";
        const QJsonObject attributes = driver.toObject();
        DriverAttributes given;
        for (auto it = attributes.begin(); it != attributes.end(); ++it) {
            const std::size_t index = driverAttributeIndex(it.key());
            if (index == driverAttributeCount)
                return "unknown driver attribute " + quoted(it.key());
            if (!it.value().isString())
                return "driver attribute " + quoted(it.key()) + " takes a text";
            given[index] = it.value().toString().toStdString();
        }
        request.drivers.push_back(std::move(given));
    }
    return std::nullopt;
}

} // namespace

ConversionResult<CalcRequest> readCalcRequest(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return unusable("the input is not JSON: " + parseError.errorString().toStdString() + " at offset "
                        + std::to_string(parseError.offset));
    if (!document.isObject())
        return unusable("the input must be one JSON object");
    const QJsonObject root = document.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (it.key() != u"controls" && it.key() != u"drivers")
            return unusable("unknown key " + quoted(it.key()) + "; expected \"controls\" and \"drivers\"");
    }

    CalcRequest request;
    const QJsonValue controls = root.value(u"controls");
    if (!controls.isUndefined()) {
        if (!controls.isObject())
            return unusable("\"controls\" must be an object");
        if (auto problem = readControls(controls.toObject(), request))
            return unusable(std::move(*problem));
    }
    const QJsonValue drivers = root.value(u"drivers");
    if (!drivers.isUndefined()) {
        if (!drivers.isArray())
            return unusable("\"drivers\" must be an array");
        if (auto problem = readDrivers(drivers.toArray(), request))
            return unusable(std::move(*problem));
    }
    const bool unlimitedDrivers = std::any_of(request.states.begin(), request.states.end(), [](const auto& given) {
        return given.first == unlimitedDriversBox && given.second;
    });
    if (unlimitedDrivers && !request.drivers.empty())
        return unusable("drivers cannot be listed while \"CheckBoxDopusk\" is true");
    return Result::success(std::move(request));
}

} // namespace osago
