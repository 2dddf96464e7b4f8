#include "print/BlankDocument.h"

#include "print/PrintFonts.h"

#include <QFile>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

namespace osago {

namespace {

const QString kLayoutResource = QStringLiteral(":/print/templates/policy-blank.json");
// The data sits in the lower part of a box, under the caption the blank prints in its upper part.
constexpr double kCaptionBandMm = 2.6;
constexpr double kInnerMarginMm = 1;
constexpr double kDataPointSize = 10;
constexpr double kCaptionPointSize = 5.5;
constexpr double kTitlePointSize = 11;
constexpr double kLinePointWidth = 0.6;

QJsonObject layoutObject()
{
    QFile file(kLayoutResource);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the policy blank layout %s is missing", qPrintable(kLayoutResource));
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Scales millimetres to the pixels of the device the painter draws on.
class DeviceScale
{
public:
    explicit DeviceScale(const QPaintDevice& device)
        : m_x(device.logicalDpiX() / kMillimetresPerInch)
        , m_y(device.logicalDpiY() / kMillimetresPerInch)
    {
    }
    QRectF rect(const QRectF& mm) const { return {mm.x() * m_x, mm.y() * m_y, mm.width() * m_x, mm.height() * m_y}; }
    double x(double mm) const { return mm * m_x; }

private:
    double m_x;
    double m_y;
};

QFont printFont(double pointSize, bool bold = false)
{
    QFont font(kPrintFontFamily);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void drawLine(QPainter& painter, const QRectF& rect, const QString& text, Qt::Alignment alignment)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, int(alignment) | Qt::TextSingleLine, shown);
}

} // namespace

FilledBlank policyBlankTemplate()
{
    const QJsonObject layout = layoutObject();
    FilledBlank blank;
    blank.guideTitle = layout.value(u"guideTitle").toString();
    for (const QJsonValue& value : layout.value(u"fields").toArray()) {
        const QJsonObject field = value.toObject();
        blank.fields.push_back({field.value(u"caption").toString(),
                                QRectF(field.value(u"x").toDouble(), field.value(u"y").toDouble(),
                                       field.value(u"width").toDouble(), field.value(u"height").toDouble()),
                                field.value(u"text").toString()});
    }
    return blank;
}

FilledBlank fillPolicyBlank(const FieldLookup& lookup)
{
    FilledBlank blank = policyBlankTemplate();
    blank.guideTitle = fillTemplate(blank.guideTitle, lookup, TemplateEscaping::Plain);
    for (BlankField& field : blank.fields)
        field.text = fillTemplate(field.text, lookup, TemplateEscaping::Plain);
    return blank;
}

BlankDocument::BlankDocument(QString title, FilledBlank blank, Kind kind, PolicyOffset offset)
    : Document(std::move(title))
    , m_blank(std::move(blank))
    , m_kind(kind)
    , m_offset(kind == Kind::Policy ? offset : PolicyOffset{})
{
    loadPrintFonts();
}

QRectF BlankDocument::dataPlaceMm(const BlankField& field) const
{
    return field.placeMm.adjusted(kInnerMarginMm, kCaptionBandMm, -kInnerMarginMm, 0)
        .translated(m_offset.horizontalMm, m_offset.verticalMm);
}

void BlankDocument::paint(QPainter& painter) const
{
    painter.save();
    if (m_kind == Kind::Guide)
        paintGuide(painter);
    const DeviceScale scale(*painter.device());
    painter.setPen(Qt::black);
    painter.setFont(printFont(kDataPointSize));
    for (const BlankField& field : m_blank.fields)
        drawLine(painter, scale.rect(dataPlaceMm(field)), field.text, Qt::AlignLeft | Qt::AlignVCenter);
    painter.restore();
}

void BlankDocument::paintGuide(QPainter& painter) const
{
    const DeviceScale scale(*painter.device());
    painter.setFont(printFont(kTitlePointSize, true));
    drawLine(painter, scale.rect(QRectF(20, 15, 170, 10)), m_blank.guideTitle, Qt::AlignLeft | Qt::AlignVCenter);

    QPen outline(Qt::darkGray);
    outline.setWidthF(scale.x(kLinePointWidth / kPointsPerInch * kMillimetresPerInch));
    painter.setFont(printFont(kCaptionPointSize));
    for (const BlankField& field : m_blank.fields) {
        painter.setPen(outline);
        painter.drawRect(scale.rect(field.placeMm));
        const QRectF captionMm(field.placeMm.x() + kInnerMarginMm, field.placeMm.y(),
                               field.placeMm.width() - 2 * kInnerMarginMm, kCaptionBandMm);
        drawLine(painter, scale.rect(captionMm), field.caption, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

} // namespace osago
