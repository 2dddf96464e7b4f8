#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace osago {

class DriversPage;
class GeneralPage;
class Messages;
class PartyPage;
class ResultsPage;
class LogoutRequest;
class VehiclePage;

// The six-page policy editor. Created once and reused for every record: closing only hides it
// and returns every control to its default.
class PolicyEditor : public QWidget
{
    Q_OBJECT

public:
    // How the record on show came into the editor.
    enum class RecordMode {
        New,    // a new record, also one copied from a stored row: "Сохранить" adds a row
        Change, // a stored row: "Сохранить" writes over the row holding recordCode()
        View,   // a stored row only looked at: every page read-only, "Закрыть" instead of "Отмена" and "Сохранить"
    };

    // `mainWindow` is disabled while the editor is shown and enabled again when it closes.
    PolicyEditor(Messages& messages, QWidget& mainWindow);

    DriversPage& driversPage() { return *m_driversPage; }
    ResultsPage& resultsPage() { return *m_resultsPage; }

    // Set once the record is in the controls; every close returns the editor to a new record.
    void setRecordMode(RecordMode mode, const QString& code = {});
    RecordMode recordMode() const { return m_recordMode; }
    // The code of the stored row changed or viewed; empty for a new record.
    const QString& recordCode() const { return m_recordCode; }

    // Closes the editor as its own commands do ("Отмена" confirmed, "Закрыть", a stored record): no question, the
    // reset follows. Any other close comes from the window system and is taken as "Отмена" (see closeEvent).
    void closeRecord();
    // The agent is logging out of the desktop: a record being entered or changed is not dropped without the
    // agent's word; "No" to "Выйти без сохранения?" asks the desktop to stop the log-out.
    void answerLogout(LogoutRequest& logout);

signals:
    // "Сохранить" was clicked; storing the record is up to the register.
    void saveRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPages(QVBoxLayout* window);
    void buildCommandButtons(QVBoxLayout* window);

    void FormShow();
    void FormClose();
    void ButtonVperClick();
    void ButtonNazClick();
    void stepPage(int direction);
    void PageControlChange();
    void ButtonNoClick();
    bool confirmLeaving();
    // A close from the window system: "Отмена" for a record in work, "Закрыть" for one only viewed; nothing while
    // the driver dialog or the preview holds the input.
    bool windowSystemMayClose();
    void ButtonCloseClick();
    void ButtonCopyClick();
    void ComboBoxRegionChange();
    void ComboBoxRegChange();

    // Every control back to its default, in a fixed order (EditorReset.cpp).
    void resetEditor();
    // Back to a new record with every page open to input.
    void leaveRecordMode();

    Messages& m_messages;
    QWidget& m_mainWindow;
    QTabWidget* m_pageControl = nullptr;
    GeneralPage* m_generalPage = nullptr;
    PartyPage* m_policyholderPage = nullptr;
    PartyPage* m_ownerPage = nullptr;
    VehiclePage* m_vehiclePage = nullptr;
    DriversPage* m_driversPage = nullptr;
    ResultsPage* m_resultsPage = nullptr;
    QPushButton* m_buttonBack = nullptr;
    QPushButton* m_buttonNext = nullptr;
    QPushButton* m_buttonSave = nullptr;
    QPushButton* m_buttonCancel = nullptr;
    QPushButton* m_buttonClose = nullptr;
    RecordMode m_recordMode = RecordMode::New;
    bool m_closingRecord = false;
    QString m_recordCode;
};

} // namespace osago
