#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace osago {

// How the value of one register column is taken from the editor and given back to it. Every value is text.
enum class ColumnCoding {
    // The control's text exactly as the program reads it (a masked edit's full masked text).
    Text,
    // A check box: "Да" when ticked, "Нет" when clear; any other stored text loads as clear.
    YesNo,
    // A radio pair: "Физ. лицо" when `control` is checked, "Юр. лицо" when `secondControl` is;
    // any other stored text loads as "Физ. лицо".
    PersonType,
    // The period of use `control` (ComboBoxSrok) while the vehicle is registered in the country (column РегРФ
    // holds "Да"); otherwise the term `secondControl` (ComboBoxTranzit), e.g. "15 дней". Loading reads РегРФ
    // first to know which drop-down takes the text; the other one keeps its default ("12" or "15 дней").
    PeriodOrTerm,
    // Column `attribute` (1-9, block order) of the driver at list position `driver` (1-6): item driver-1 of the
    // drivers page's hidden list `control` (one of ComboBox1 ... ComboBox9); empty when fewer drivers are listed.
    DriverAttribute,
    // The agent's name from the agent settings (`control` is the settings window's edit).
    AgentName,
    // The row's code, which the register writes (storage/PolicyColumns.h). No control.
    RowCode,
};

// The controls that feed one register column.
struct ColumnBinding
{
    ColumnCoding coding = ColumnCoding::Text;
    QString control;
    QString secondControl;
    int driver = 0;
    int attribute = 0;
};

// The binding of every register column, in the register's column order (index = column). A column of the
// register without a binding, or a binding naming no column of the register, stops the program at first use.
const std::vector<ColumnBinding>& columnBindings();

// The binding of the column named exactly `name`, which must be a register column.
const ColumnBinding& columnBinding(QStringView name);

} // namespace osago
