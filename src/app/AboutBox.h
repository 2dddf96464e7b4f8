#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QUrl;

namespace osago {

class Messages;

// "О программе": the product, its makers and a contact that starts a mail message. Shown without a modal
// loop, it keeps the main window disabled until it closes; closing only hides it.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    // Hands a link to the desktop; false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl&)>;

    // `mainWindow` is disabled while the box is shown.
    AboutBox(Messages& messages, QWidget& mainWindow);

    // Replaces the desktop's URL handling (QDesktopServices::openUrl by default).
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanel();
    void FormShow();
    void FormClose();
    void Label6Click();

    Messages& m_messages;
    QWidget& m_mainWindow;
    UrlOpener m_openUrl;
    QLabel* m_contactLabel = nullptr;
};

} // namespace osago
