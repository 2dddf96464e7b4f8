#include "CommandLineHelp.h"

namespace osago {

// One line a command or option; a new command adds its lines under "Команды:".
QString commandLineHelp()
{
    return QStringLiteral(R"(Использование: osago [КОМАНДА] [ПАРАМЕТРЫ]

Без команды открывается окно программы на реестре полисов Baza.mdb в текущей
папке; если файла там нет, он создаётся.

Параметры окна:
  --database ФАЙЛ   открыть реестр полисов ФАЙЛ вместо Baza.mdb
  -h, --help        показать эту справку
  --version         показать версию программы

Команды:
  calc [ФАЙЛ]       рассчитать коэффициенты и премию по запросу JSON из ФАЙЛА
                    (без ФАЙЛА или с «-» — со стандартного ввода) и вывести
                    результат в JSON, не открывая окна
)");
}

} // namespace osago
