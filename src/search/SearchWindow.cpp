#include "search/SearchWindow.h"

#include "storage/SearchFolding.h"
#include "widgets/WaitCursor.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <algorithm>
#include <array>
#include <vector>

namespace osago {

namespace {

// The window's own area: the fixed layout of the controls, and a line under the buttons for the outcome.
constexpr QSize kClientSize(377, 208);

struct Criterion
{
    const char* name;
    const char16_t* caption;
    int left;
    int row;
};

// In tab order, which is the order of the searched columns (searchedColumns()); the group's left column stands
// 8 pixels in, the right one 192, rows 16 pixels apart from 24.
constexpr std::array<Criterion, 7> kCriteria{{
    {"RadioButtonStr", u"Фамилия страхователя (фирма)", 8, 0},
    {"RadioButtonVlad", u"Фамилия владельца (фирма)", 8, 1},
    {"RadioButtonMarka", u"Марка ТС", 8, 2},
    {"RadioButtonGN", u"Госномер ТС", 8, 3},
    {"RadioButtonKvit", u"Квитанция", 192, 0},
    {"RadioButtonPolis", u"Номер и серия полиса", 192, 1},
    {"RadioButtonZnak", u"Номер и серия спец. знака", 192, 2},
}};

constexpr int kRadioTop = 24;
constexpr int kRadioStep = 16;
constexpr int kRadioHeight = 17;
constexpr int kRightColumn = 192;

QPushButton* addButton(QWidget* window, const char* name, const QString& caption, QRect geometry)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setGeometry(geometry);
    return button;
}

// The captions keep their fixed places. Where the window's font is wider than the one this layout was drawn for
// (DejaVu Sans is), they take a narrower face of it, then a smaller size, until each fits.
void fitCaptions(const QList<QAbstractButton*>& buttons)
{
    constexpr int kNarrowestStretch = 80;
    constexpr qreal kSmallestPointSize = 7;
    const auto fits = [&] {
        return std::all_of(buttons.begin(), buttons.end(),
                           [](const QAbstractButton* button) { return button->sizeHint().width() <= button->width(); });
    };
    QFont font = buttons.constFirst()->font();
    int stretch = font.stretch() == QFont::AnyStretch ? int(QFont::Unstretched) : font.stretch();
    while (!fits()) {
        if (stretch > kNarrowestStretch) {
            stretch -= 5;
            font.setStretch(stretch);
        } else if (font.pointSizeF() > kSmallestPointSize) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
        } else {
            return;
        }
        for (QAbstractButton* button : buttons)
            button->setFont(font);
    }
}

} // namespace

SearchWindow::SearchWindow(QWidget& owner)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("FormPoisk"));
    setWindowTitle(QStringLiteral("Поиск"));
    setFixedSize(kClientSize);
    buildControls();
}

void SearchWindow::buildControls()
{
    m_word = new QLineEdit(RegisterSearch::prompt(), this);
    m_word->setObjectName(QStringLiteral("EditPoisk"));
    m_word->setGeometry(8, 8, 361, 21);

    auto* group = new QGroupBox(QStringLiteral("Критерии поиска"), this);
    group->setObjectName(QStringLiteral("GroupBoxKriterii"));
    group->setGeometry(8, 40, 361, 97);
    m_criteria = new QButtonGroup(this);
    QWidget* previous = m_word;
    const std::vector<int>& columns = searchedColumns();
    for (std::size_t i = 0; i < kCriteria.size(); ++i) {
        const Criterion& criterion = kCriteria[i];
        auto* radio = new QRadioButton(QString::fromUtf16(criterion.caption), group);
        radio->setObjectName(QLatin1String(criterion.name));
        const int width = criterion.left < kRightColumn ? kRightColumn - criterion.left : group->width() - criterion.left;
        radio->setGeometry(criterion.left, kRadioTop + criterion.row * kRadioStep, width, kRadioHeight);
        m_criteria->addButton(radio, columns.at(i));
        radio->setChecked(i == 0);
        setTabOrder(previous, radio);
        previous = radio;
    }
    fitCaptions(m_criteria->buttons());

    auto* start = addButton(this, "ButtonStart", QStringLiteral("Поиск"), {8, 144, 129, 25});
    auto* table = addButton(this, "ButtonTable", QStringLiteral("Вся таблица"), {136, 144, 113, 25});
    auto* exit = addButton(this, "ButtonExit", QStringLiteral("Выход"), {248, 144, 121, 25});
    setTabOrder(previous, start);
    setTabOrder(start, table);
    setTabOrder(table, exit);
    connect(start, &QPushButton::clicked, this, &SearchWindow::ButtonStartClick);
    connect(table, &QPushButton::clicked, this, &SearchWindow::ButtonTableClick);
    connect(exit, &QPushButton::clicked, this, &SearchWindow::ButtonExitClick);

    m_outcome = new QLabel(this);
    m_outcome->setObjectName(QStringLiteral("LabelNaideno"));
    m_outcome->setGeometry(8, 174, 361, 30);
    m_outcome->setWordWrap(true);
    m_outcome->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void SearchWindow::attachRegister(PolicyDatabase& database, RegisterModel& model)
{
    disconnect(m_modelReset);
    m_search.emplace(database, model);
    // Every reset of the grid, a save or deletion refreshing the rows found included, updates the count.
    m_modelReset = connect(&model, &QAbstractItemModel::modelReset, this, &SearchWindow::showOutcome);
    m_outcome->clear();
}

// Opens centred over the main window, the word selected so that typing replaces it.
void SearchWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(m_owner.frameGeometry().center());
    move(frame.topLeft());
    m_word->setFocus(Qt::ActiveWindowFocusReason);
    m_word->selectAll();
}

void SearchWindow::ButtonStartClick()
{
    runOnRegister([this](RegisterSearch& search) {
        return search.find(
            m_criteria->checkedId(), m_word->text(), [this](int percent) { showProgress(percent); },
            [this] { showFirstRows(); });
    });
}

void SearchWindow::ButtonTableClick()
{
    runOnRegister([](RegisterSearch& search) { return search.showAll(); });
}

// A failure is written under the buttons.
void SearchWindow::runOnRegister(const std::function<StorageStatus(RegisterSearch&)>& step)
{
    if (!m_search) {
        showFailure(QStringLiteral("Реестр полисов не открыт."));
        return;
    }
    const WaitCursor waiting;
    const StorageStatus done = step(*m_search);
    if (!done.ok)
        showFailure(done.error);
}

void SearchWindow::ButtonExitClick()
{
    close();
}

void SearchWindow::showOutcome()
{
    const RegisterModel& model = m_search->model();
    m_outcome->setToolTip({});
    if (!model.lastError().isEmpty())
        showFailure(model.lastError());
    else if (!model.isRestricted())
        m_outcome->setText(QStringLiteral("Показана вся таблица, записей: %1").arg(model.rowCount()));
    else if (model.rowCount() == 0)
        m_outcome->setText(QStringLiteral("Ничего не найдено"));
    else
        m_outcome->setText(QStringLiteral("Найдено записей: %1").arg(model.rowCount()));
}

// The first search in a column of an older register builds its index, a few seconds at a million rows. The
// handler holds the event loop meanwhile, so the line is painted at once.
void SearchWindow::showProgress(int percent)
{
    m_outcome->setText(QStringLiteral("Подготовка поиска по этому столбцу: %1 %").arg(percent));
    m_outcome->repaint();
}

// The rows found among the oldest are painted in the grid while the rest are looked for; the agent's clicks and
// keys wait until the search is done.
void SearchWindow::showFirstRows()
{
    m_outcome->setText(QStringLiteral("Идёт поиск..."));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The failure's first line fits the window; the whole text is the line's tooltip.
void SearchWindow::showFailure(const QString& error)
{
    m_outcome->setText(error.section(u'\n', 0, 0));
    m_outcome->setToolTip(error);
}

} // namespace osago
