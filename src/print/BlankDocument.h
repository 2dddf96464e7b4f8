#pragma once

#include "print/Document.h"
#include "print/PolicyOffset.h"
#include "print/TemplateText.h"

#include <QRectF>

#include <vector>

namespace osago {

// One box of the pre-printed policy blank, placed in millimetres from the paper's top-left corner.
struct BlankField
{
    QString caption;
    QRectF placeMm;
    QString text;
};

// The blank's boxes and the guide sheet's heading, filled from `lookup`.
struct FilledBlank
{
    QString guideTitle;
    std::vector<BlankField> fields;
};

FilledBlank fillPolicyBlank(const FieldLookup& lookup);

// The blank's layout as shipped, its texts still templates (for checking them).
FilledBlank policyBlankTemplate();

// A page drawn at millimetre positions over the policy blank's boxes.
//   Policy: only the data, each text where its box lies on the blank, moved by the printer offset, for printing onto
//           the pre-printed blank.
//   Guide:  the backing sheet: the heading, every box outlined with its caption and its data, at the blank's own
//           positions, for plain paper; laid under the blank it shows whether the boxes meet.
class BlankDocument final : public Document
{
public:
    enum class Kind { Policy, Guide };

    BlankDocument(QString title, FilledBlank blank, Kind kind, PolicyOffset offset = {});

    void paint(QPainter& painter) const override;

    // Where the data of `field` is written, in millimetres, the offset included.
    QRectF dataPlaceMm(const BlankField& field) const;
    const FilledBlank& blank() const { return m_blank; }

private:
    void paintGuide(QPainter& painter) const;

    FilledBlank m_blank;
    Kind m_kind;
    PolicyOffset m_offset;
};

} // namespace osago
