#include "storage/tools/SampleRecords.h"

#include "storage/PersonType.h"
#include "storage/YesNo.h"

namespace osago {

namespace {

struct Surname
{
    QStringView male;
    QStringView female;
};

constexpr Surname kSurnames[] = {
    {u"Иванов", u"Иванова"},         {u"Петров", u"Петрова"},           {u"Сидоров", u"Сидорова"},
    {u"Кузнецов", u"Кузнецова"},     {u"Смирнов", u"Смирнова"},         {u"Попов", u"Попова"},
    {u"Васильев", u"Васильева"},     {u"Соколов", u"Соколова"},         {u"Михайлов", u"Михайлова"},
    {u"Новиков", u"Новикова"},       {u"Фёдоров", u"Фёдорова"},         {u"Морозов", u"Морозова"},
    {u"Волков", u"Волкова"},         {u"Алексеев", u"Алексеева"},       {u"Лебедев", u"Лебедева"},
    {u"Семёнов", u"Семёнова"},       {u"Егоров", u"Егорова"},           {u"Павлов", u"Павлова"},
    {u"Козлов", u"Козлова"},         {u"Степанов", u"Степанова"},       {u"Николаев", u"Николаева"},
    {u"Орлов", u"Орлова"},           {u"Андреев", u"Андреева"},         {u"Макаров", u"Макарова"},
    {u"Никитин", u"Никитина"},       {u"Захаров", u"Захарова"},         {u"Зайцев", u"Зайцева"},
    {u"Соловьёв", u"Соловьёва"},     {u"Борисов", u"Борисова"},         {u"Яковлев", u"Яковлева"},
    {u"Григорьев", u"Григорьева"},   {u"Романов", u"Романова"},         {u"Воробьёв", u"Воробьёва"},
    {u"Сергеев", u"Сергеева"},       {u"Кудрявцев", u"Кудрявцева"},     {u"Белоусов", u"Белоусова"},
    {u"Черепанов", u"Черепанова"},   {u"Кондратьев", u"Кондратьева"},   {u"Тихомиров", u"Тихомирова"},
    {u"Ковалевский", u"Ковалевская"}, {u"Преображенский", u"Преображенская"}, {u"Шереметьев", u"Шереметьева"},
    {u"Белых", u"Белых"},            {u"Черных", u"Черных"},            {u"Коваленко", u"Коваленко"},
};

struct GivenName
{
    QStringView name;
    QStringView sonOf;
    QStringView daughterOf;
};

// A man's name with the patronymics it gives.
constexpr GivenName kMaleNames[] = {
    {u"Александр", u"Александрович", u"Александровна"}, {u"Сергей", u"Сергеевич", u"Сергеевна"},
    {u"Владимир", u"Владимирович", u"Владимировна"},    {u"Андрей", u"Андреевич", u"Андреевна"},
    {u"Алексей", u"Алексеевич", u"Алексеевна"},         {u"Дмитрий", u"Дмитриевич", u"Дмитриевна"},
    {u"Николай", u"Николаевич", u"Николаевна"},         {u"Иван", u"Иванович", u"Ивановна"},
    {u"Михаил", u"Михайлович", u"Михайловна"},          {u"Евгений", u"Евгеньевич", u"Евгеньевна"},
    {u"Виктор", u"Викторович", u"Викторовна"},          {u"Юрий", u"Юрьевич", u"Юрьевна"},
    {u"Олег", u"Олегович", u"Олеговна"},                {u"Константин", u"Константинович", u"Константиновна"},
    {u"Вячеслав", u"Вячеславович", u"Вячеславовна"},    {u"Геннадий", u"Геннадьевич", u"Геннадьевна"},
    {u"Анатолий", u"Анатольевич", u"Анатольевна"},      {u"Пётр", u"Петрович", u"Петровна"},
};

constexpr QStringView kFemaleNames[] = {
    u"Елена", u"Ольга", u"Татьяна", u"Наталья", u"Ирина", u"Светлана", u"Марина", u"Людмила",
    u"Галина", u"Анна", u"Юлия", u"Екатерина", u"Валентина", u"Надежда", u"Лариса", u"Антонина",
};

constexpr QStringView kFirms[] = {
    u"ООО \"Северный ветер\"", u"ЗАО \"Тальградстрой\"", u"ОАО \"Агрокомплекс\"", u"ООО \"Логистик-Сервис\"",
    u"МУП \"Горэлектротранс\"", u"ООО \"Ремстройтрест\"", u"ИП Кравченко",         u"ООО \"Дорожник-2\"",
};

// HomeLocalityList of the home region.
constexpr QStringView kHomeLocalities[] = {
    u"Тальград",     u"Анна",     u"Бобров",       u"Богучар",    u"Борисоглебск", u"Бутурлиновка", u"Грибановский",
    u"Калач",        u"Каменка",  u"Кантемировка", u"Лиски",      u"Новотальград", u"Острогожск",   u"Павловск",
    u"Поворино",     u"Россошь",  u"Семилуки",     u"Таловая",    u"Эртиль",
};

constexpr QStringView kOtherRegions[] = {u"Белгородская обл.", u"Курская обл.", u"Липецкая обл.",
                                         u"Московская обл.", u"Ростовская обл.", u"Москва"};
constexpr QStringView kOtherLocalities[] = {u"Белгород", u"Старый Оскол", u"Курск", u"Липецк", u"Елец",
                                            u"Подольск", u"Ростов-на-Дону", u"Таганрог", u"Москва"};
constexpr QStringView kDistricts[] = {u"Центральный", u"Ленинский", u"Советский", u"Коминтерновский",
                                      u"Железнодорожный", u"Левобережный"};
constexpr QStringView kStreets[] = {u"ул. Ленина",         u"ул. Плехановская",   u"пр-т Революции",
                                    u"ул. Кольцовская",    u"ул. Моисеева",       u"ул. 20-летия Октября",
                                    u"Московский пр-т",    u"ул. Хользунова",     u"ул. Героев Сибиряков",
                                    u"ул. Добролюбова",    u"пер. Автогенный",    u"ул. Владимира Невского"};
constexpr QStringView kDocuments[] = {u"Паспорт РФ", u"Паспорт РФ", u"Паспорт РФ", u"Паспорт РФ",
                                      u"Военный билет", u"Вид на жительство (в РФ)", u"Паспорт заграничный"};

struct VehicleType
{
    QStringView name;
    int weight;
    bool heavy;
    bool seats;
};

constexpr VehicleType kVehicleTypes[] = {
    {u"Легковой автомобиль", 70, false, false},
    {u"Прицеп  к легковому автомобилю", 3, false, false},
    {u"Такси (в т.ч. маршрутное)", 3, false, true},
    {u"Грузовой автомобиль", 10, true, false},
    {u"Прицеп к грузовому автомобилю", 2, true, false},
    {u"Автобус", 4, false, true},
    {u"Тракторы, самоходные дорожно-строительные и иные машины", 3, false, false},
    {u"Прицепы к тракторам, самоход. дорожно-строит. и иным машинам", 1, false, false},
    {u"Мотоциклы и мотороллеры", 4, false, false},
};

constexpr QStringView kCarModels[] = {u"ВАЗ-21099",       u"Лада Приора 217030", u"ВАЗ-2107",        u"Лада Калина",
                                      u"Toyota Camry",    u"Hyundai Solaris",    u"Renault Logan",   u"Ford Focus",
                                      u"Kia Rio",         u"Volkswagen Polo",    u"ГАЗ-3110 Волга",  u"Chevrolet Niva"};
constexpr QStringView kTruckModels[] = {u"КамАЗ-5320", u"ГАЗ-3302 Газель", u"МАЗ-5432", u"ЗИЛ-130", u"Урал-4320"};
constexpr QStringView kOtherModels[] = {u"ПАЗ-3205", u"МТЗ-82", u"ИЖ Юпитер-5", u"Курганец 8213", u"ЛАЗ-695Н",
                                        u"Минск М-125", u"ЮМЗ-6"};
constexpr QStringView kRemarks[] = {u"Страхователь предъявил диагностическую карту",
                                    u"Предыдущий полис утерян, выдан дубликат по заявлению страхователя",
                                    u"ТС используется с прицепом",
                                    u"Договор заключён на основании доверенности от владельца ТС"};
constexpr QStringView kAgents[] = {u"Кравцова Н. П.", u"Лукин А. В.", u"Гаврилова С. И.", u"Тарасов Д. Е."};
constexpr QStringView kPeriods[] = {u"6", u"7", u"8", u"9", u"10", u"11", u"12", u"12", u"12", u"12", u"12"};
constexpr QStringView kTerms[] = {u"15 дней", u"1", u"2", u"3", u"4", u"5", u"6"};
constexpr QStringView kClasses[] = {u"M", u"0", u"1", u"2", u"3", u"3", u"3", u"4", u"5", u"6",
                                    u"7", u"8", u"9", u"10", u"11", u"12", u"13"};
// The purposes of use besides personal use.
constexpr QStringView kTaxiPurpose = u"Цель_исп_такси";
constexpr QStringView kOtherPurposes[] = {kTaxiPurpose,           u"Цель_исп_прокат_аренда", u"Цель_исп_скорая_помощь",
                                          u"Цель_исп_инкассация", u"Цель_исп_прочие",        u"Цель_исп_дор_или_спец_ТС",
                                          u"Цель_исп_учеб_езда"};

constexpr QStringView kCapitals = u"АВЕКМНОРСТУХ";
constexpr QStringView kVinLetters = u"ABCDEFGHJKLMNPRSTUVWXYZ0123456789";

} // namespace

int SampleRecords::number(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

bool SampleRecords::chance(double probability)
{
    return std::bernoulli_distribution(probability)(m_random);
}

QString SampleRecords::digits(int count)
{
    QString text(count, Qt::Uninitialized);
    for (QChar& ch : text)
        ch = QChar(u'0' + number(0, 9));
    return text;
}

QString SampleRecords::letters(QStringView alphabet, int count)
{
    QString text(count, Qt::Uninitialized);
    for (QChar& ch : text)
        ch = alphabet[number(0, int(alphabet.size()) - 1)];
    return text;
}

QString SampleRecords::date(int fromYear, int toYear)
{
    return QStringLiteral("%1.%2.%3")
        .arg(number(1, 28), 2, 10, QLatin1Char('0'))
        .arg(number(1, 12), 2, 10, QLatin1Char('0'))
        .arg(number(fromYear, toYear));
}

QString SampleRecords::code()
{
    return QStringLiteral("%1%2").arg(quint64(m_random()), 16, 16, QLatin1Char('0')).arg(quint64(m_random()), 16, 16,
                                                                                         QLatin1Char('0'));
}

SampleRecords::Person SampleRecords::person()
{
    const Surname& surname = pick(kSurnames);
    const GivenName& father = pick(kMaleNames);
    if (chance(0.45))
        return {surname.female.toString(), pick(kFemaleNames).toString(), father.daughterOf.toString(), true};
    return {surname.male.toString(), pick(kMaleNames).name.toString(), father.sonOf.toString(), false};
}

QString SampleRecords::fullName(const Person& person) const
{
    return person.surname + u' ' + person.name + u' ' + person.patronymic;
}

QString SampleRecords::street()
{
    QString text = pick(kStreets).toString() + QStringLiteral(", д. %1").arg(number(1, 180));
    if (chance(0.3))
        text += QStringLiteral(", корп. %1").arg(number(1, 5));
    if (chance(0.7))
        text += QStringLiteral(", кв. %1").arg(number(1, 320));
    return text;
}

QString SampleRecords::phone()
{
    return QStringLiteral("8-473-%1-%2-%3").arg(digits(3), digits(2), digits(2));
}

QString SampleRecords::locality(bool home)
{
    return (home ? pick(kHomeLocalities) : pick(kOtherLocalities)).toString();
}

QString SampleRecords::vehicleModel(const QString& type)
{
    for (const VehicleType& kind : kVehicleTypes) {
        if (kind.name == type && kind.heavy)
            return pick(kTruckModels).toString();
    }
    return (type.startsWith(u"Легковой") || type.startsWith(u"Такси") ? pick(kCarModels) : pick(kOtherModels))
        .toString();
}

QString SampleRecords::permit()
{
    return digits(2) + letters(kCapitals, 2) + digits(6) + QStringLiteral("  ") + date(1975, 2011);
}

void SampleRecords::fillPersons(PolicyRow& row)
{
    const bool firm = chance(0.08);
    const Person holder = person();
    row.setValue(u"Тип_страхователя", personType(firm));
    row.setValue(u"Страхователь_фамилия_фирма", firm ? pick(kFirms).toString() : holder.surname);
    row.setValue(u"Страхователь_имя", firm ? QString() : holder.name);
    row.setValue(u"Страхователь_отчество", firm ? QString() : holder.patronymic);
    row.setValue(u"Страхователь_др_ИНН", firm ? QStringLiteral("  .  .    ") : date(1940, 1990));
    row.setValue(u"Страхователь_телефон", phone());
    row.setValue(u"Страхователь_документ", firm ? QStringLiteral("Свидетельство о внесении записи в ЕГРЮЛ") : pick(kDocuments).toString());
    row.setValue(u"Страхователь_серия_номер", digits(2) + u' ' + digits(2) + u' ' + digits(6));
    fillAddress(row, false);

    const bool sameOwner = chance(0.7);
    const Person owner = sameOwner ? holder : person();
    const bool firmOwner = sameOwner ? firm : chance(0.05);
    row.setValue(u"Тип_владельца", personType(firmOwner));
    row.setValue(u"Владелец_фамилия_фирма", sameOwner ? row.value(u"Страхователь_фамилия_фирма") : owner.surname);
    row.setValue(u"Владелец_имя", firmOwner ? QString() : owner.name);
    row.setValue(u"Владелец_отчество", firmOwner ? QString() : owner.patronymic);
    row.setValue(u"Владелец_др_ИНН", firmOwner ? QStringLiteral("  .  .    ") : date(1940, 1990));
    row.setValue(u"Владелец_телефон", phone());
    row.setValue(u"Владелец_документ", pick(kDocuments).toString());
    row.setValue(u"Владелец_серия_номер", digits(2) + u' ' + digits(2) + u' ' + digits(6));
    fillAddress(row, true);
}

void SampleRecords::fillAddress(PolicyRow& row, bool owner)
{
    const bool home = chance(0.85);
    row.setValue(owner ? u"Владелец_страна" : u"Страхователь_страна", QStringLiteral("РФ"));
    row.setValue(owner ? u"Владелец_регион" : u"Страхователь_регион",
        home ? QStringLiteral("Тальградская область") : pick(kOtherRegions).toString());
    row.setValue(owner ? u"Владелец_район" : u"Страхователь_район", chance(0.5) ? pick(kDistricts).toString() : QString());
    row.setValue(owner ? u"Владелец_насел_пункт" : u"Страхователь_насел_пункт", locality(home));
    row.setValue(owner ? u"Владелец_адрес" : u"Страхователь_адрес", street());
    row.setValue(owner ? u"Владелец_индекс" : u"Страхователь_индекс", QStringLiteral("394") + digits(3));
}

void SampleRecords::fillVehicle(PolicyRow& row)
{
    int roll = number(1, 100);
    const VehicleType* type = &kVehicleTypes[0];
    for (const VehicleType& kind : kVehicleTypes) {
        if ((roll -= kind.weight) <= 0) {
            type = &kind;
            break;
        }
    }
    const QString vin = letters(kVinLetters, 17);
    const int horsepower = number(40, 320);
    row.setValue(u"Тип_ТС", type->name.toString());
    row.setValue(u"Марка_модель", vehicleModel(type->name.toString()));
    row.setValue(u"Регистрационный_знак", letters(kCapitals, 1) + digits(3) + letters(kCapitals, 2) + QStringLiteral("36"));
    row.setValue(u"Год_выпуска", QString::number(number(1980, 2012)));
    row.setValue(u"VIN", vin);
    row.setValue(u"Номер_шасси", chance(0.8) ? vin : QStringLiteral("ОТСУТСТВУЕТ"));
    row.setValue(u"Кузов", chance(0.8) ? vin : digits(7));
    row.setValue(u"Мощность_л_с", QString::number(horsepower));
    row.setValue(u"Мощность_кВт", QString::number(horsepower * 0.7355, 'f', 1).replace(u'.', u','));
    row.setValue(u"Серия_номер_ПТС", digits(2) + letters(kCapitals, 2) + digits(6));
    row.setValue(u"Дата_выдачи_ПТС", date(1995, 2012));
    row.setValue(u"Масса_без_нагрузки_кг", type->heavy ? QString::number(number(1500, 12000)) : QStringLiteral("0"));
    row.setValue(u"Разрешенная_макс_масса_кг", type->heavy ? QString::number(number(3500, 40000)) : QStringLiteral("0"));
    row.setValue(u"Количество_мест_сидения", type->seats ? QString::number(number(8, 60)) : QStringLiteral("0"));

    const bool taxi = type->name.startsWith(u"Такси");
    row.setValue(u"Цель_исп_личная", yesNo(!taxi && chance(0.9)));
    for (QStringView purpose : kOtherPurposes)
        row.setValue(purpose, yesNo(purpose == kTaxiPurpose ? taxi : chance(0.03)));
}

void SampleRecords::fillTerms(PolicyRow& row)
{
    const QString issued = date(2008, 2012);
    const bool registered = chance(0.95);
    row.setValue(u"Номер_серия_полиса", letters(kCapitals, 3) + u'№' + digits(10));
    row.setValue(u"Квитанция", digits(6));
    row.setValue(u"Номер_серия_спец_знака", letters(kCapitals, 3) + u'№' + digits(10));
    row.setValue(u"РегРФ", yesNo(registered));
    row.setValue(u"Время_начала_срока_страхования", QStringLiteral("%1:%2:%3")
                                        .arg(number(8, 18), 2, 10, QLatin1Char('0'))
                                        .arg(number(0, 59), 2, 10, QLatin1Char('0'))
                                        .arg(number(0, 59), 2, 10, QLatin1Char('0')));
    row.setValue(u"Дата_начала_срока_страхования", issued);
    row.setValue(u"Дата_выдачи", issued);
    row.setValue(u"Особые_отметки", chance(0.25) ? pick(kRemarks).toString() : QString());
    const QString period = registered ? pick(kPeriods).toString() : pick(kTerms).toString();
    row.setValue(u"Срок_использ_месяцы", period);
    const QString ends = issued.left(6) + QString::number(issued.right(4).toInt() + 1);
    row.setValue(u"Страх_с", issued);
    row.setValue(u"Страх_по", ends);
    row.setValue(u"Использ_с", issued);
    row.setValue(u"Использ_по", period == u"12" ? ends : date(2009, 2013));
    row.setValue(u"Сумма_страхования", QStringLiteral("%1,%2").arg(number(400, 9000)).arg(digits(4)));
    row.setValue(u"ФИО_агента", pick(kAgents).toString());
}

void SampleRecords::fillDrivers(PolicyRow& row)
{
    const bool unrestricted = chance(0.15);
    row.setValue(u"Допущены_без_ограничений", yesNo(unrestricted));
    row.setValue(u"Класс_ТС", unrestricted ? pick(kClasses).toString() : QStringLiteral("3"));
    row.setValue(u"Грубые_наруш", yesNo(unrestricted && chance(0.05)));
    if (unrestricted)
        return;
    const int drivers = chance(0.2) ? 6 : number(1, 5);
    for (int driver = 1; driver <= drivers; ++driver) {
        const Person who = person();
        const QString values[kDriverAttributeCount] = {
            fullName(who),
            date(1940, 1992),
            who.female ? QStringLiteral("Ж") : QStringLiteral("М"),
            (locality(true) + QStringLiteral(", ") + pick(kStreets).toString()).left(25),
            permit(),
            QString::number(number(1960, 2011)),
            yesNo(chance(0.85)),
            pick(kClasses).toString(),
            yesNo(chance(0.04)),
        };
        for (int attribute = 1; attribute <= kDriverAttributeCount; ++attribute)
            row.setValue(driverColumnIndex(driver, attribute), values[attribute - 1]);
    }
}

PolicyRow SampleRecords::next()
{
    PolicyRow row;
    fillTerms(row);
    fillPersons(row);
    fillVehicle(row);
    fillDrivers(row);
    row.setValue(rowCodeColumnIndex(), code());
    return row;
}

} // namespace osago
