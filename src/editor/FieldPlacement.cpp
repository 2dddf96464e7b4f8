#include "editor/FieldPlacement.h"

#include "editor/EditorFields.h"

#include <QLabel>
#include <QLineEdit>

namespace osago {

namespace {

constexpr int kCaptionGap = 2;

QLabel* captionOf(const QWidget* field)
{
    const auto labels = field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels) {
        if (label->buddy() == field)
            return label;
    }
    return nullptr;
}

} // namespace

void placeField(QWidget* field, QWidget* page, int left, int top, int width)
{
    field->setParent(page);
    field->setGeometry(left, top, width, kFieldHeight);
}

QLabel* addCaption(QWidget* field, const QString& caption)
{
    QLabel* label = newLabel(caption, field);
    label->setParent(field->parentWidget());
    label->adjustSize();
    // A caption wider than its field wraps onto more lines rather than run past the page.
    if (label->width() > field->width()) {
        label->setWordWrap(true);
        label->resize(field->width(), label->heightForWidth(field->width()));
    }
    label->move(field->x(), field->y() - label->height() - kCaptionGap);
    return label;
}

QLineEdit* addCaptionedEdit(QWidget* page, const QString& name, const QString& caption, int left, int top, int width,
                            int typingLimit)
{
    QLineEdit* edit = newEdit(name, typingLimit);
    placeField(edit, page, left, top, width);
    addCaption(edit, caption);
    return edit;
}

void setFieldShown(QWidget* field, bool shown)
{
    field->setVisible(shown);
    if (QLabel* caption = captionOf(field))
        caption->setVisible(shown);
}

} // namespace osago
