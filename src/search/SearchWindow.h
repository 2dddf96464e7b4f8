#pragma once

#include "search/RegisterSearch.h"

#include <QWidget>

#include <functional>
#include <optional>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace osago {

class PolicyDatabase;
class RegisterModel;

// The search window over the register: a word, one of seven columns to look in, and the main window's grid
// showing the rows found. It leaves the main window enabled while shown; closing it only hides it, keeping the
// word and the column. A line under the buttons tells how many rows the grid shows, without a message box.
class SearchWindow : public QWidget
{
    Q_OBJECT

public:
    // A window of its own, not a child of the main window, centred over `owner` when shown.
    explicit SearchWindow(QWidget& owner);

    // The register whose grid model the searches restrict; both must outlive the window or the next call.
    void attachRegister(PolicyDatabase& database, RegisterModel& model);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void ButtonStartClick();
    void ButtonTableClick();
    void ButtonExitClick();

    void runOnRegister(const std::function<StorageStatus(RegisterSearch&)>& step);
    void showOutcome();
    void showProgress(int percent);
    void showFirstRows();
    void showFailure(const QString& error);

    QWidget& m_owner;
    QLineEdit* m_word = nullptr;
    QButtonGroup* m_criteria = nullptr;
    QLabel* m_outcome = nullptr;
    std::optional<RegisterSearch> m_search;
    QMetaObject::Connection m_modelReset;
};

} // namespace osago
