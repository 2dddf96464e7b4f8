#include "editor/EditorLists.h"

namespace osago {

const QStringList& homeLocalities()
{
    static const QStringList list{
        kHomeLocality,
        QStringLiteral("Анна"), QStringLiteral("Бобров"), QStringLiteral("Богучар"),
        QStringLiteral("Борисоглебск"), QStringLiteral("Бутурлиновка"), QStringLiteral("Грибановский"),
        QStringLiteral("Калач"), QStringLiteral("Каменка"), QStringLiteral("Кантемировка"),
        QStringLiteral("Лиски"), QStringLiteral("Новотальград"), QStringLiteral("Острогожск"),
        QStringLiteral("Павловск"), QStringLiteral("Поворино"), QStringLiteral("Россошь"),
        QStringLiteral("Семилуки"), QStringLiteral("Таловая"), QStringLiteral("Эртиль"),
    };
    return list;
}

const QStringList& regions()
{
    static const QStringList list{
        kHomeRegion,
        // republics
        QStringLiteral("Республика Адыгея"), QStringLiteral("Рескублика Башкортостан"),
        QStringLiteral("Республика Бурятия"), QStringLiteral("Республика Алтай"),
        QStringLiteral("Республика Дагестан"), QStringLiteral("Ингушская республика"),
        QStringLiteral("Кабардино-Балкарская республика"), QStringLiteral("Республика Калмыкия"),
        QStringLiteral("Карачаево-Черкесская республика"), QStringLiteral("Республика Карелия"),
        QStringLiteral("Республика Коми"), QStringLiteral("Республика Марий Эл"),
        QStringLiteral("Республика Мордовия"), QStringLiteral("Республика Саха (Якутия)"),
        QStringLiteral("Республика Северная Осетия"), QStringLiteral("Республика Татарстан"),
        QStringLiteral("Республика Тыва"), QStringLiteral("Удмуртская республика"),
        QStringLiteral("Республика Хакасия"), QStringLiteral("Чеченская республика"),
        QStringLiteral("Чувашская республика"),
        // territories
        QStringLiteral("Алтайский край"), QStringLiteral("Краснодарский край"), QStringLiteral("Красноярский край"),
        QStringLiteral("Приморский край"), QStringLiteral("Ставропольский край"), QStringLiteral("Хабаровский край"),
        // other regions
        QStringLiteral("Амурская обл."), QStringLiteral("Архангельская обл."), QStringLiteral("Астраханская обл."),
        QStringLiteral("Белгородская обл."), QStringLiteral("Брянская обл."), QStringLiteral("Владимирская обл."),
        QStringLiteral("Волгоградская обл."), QStringLiteral("Вологодская обл."), QStringLiteral("Ивановская обл."),
        QStringLiteral("Иркутская обл."), QStringLiteral("Калиниградская обл."), QStringLiteral("Калужская обл."),
        QStringLiteral("Камчатская обл."), QStringLiteral("Кемеровская обл."), QStringLiteral("Кировская обл."),
        QStringLiteral("Костромская обл."), QStringLiteral("Курганская обл."), QStringLiteral("Курская обл."),
        QStringLiteral("Ленинградская обл."), QStringLiteral("Липецкая обл."), QStringLiteral("Магаданская обл."),
        QStringLiteral("Московская обл."), QStringLiteral("Мурманская обл."), QStringLiteral("Нижегородская обл."),
        QStringLiteral("Новгородская обл."), QStringLiteral("Новосибирская обл."), QStringLiteral("Омская обл."),
        QStringLiteral("Оренбургская обл."), QStringLiteral("Орловская обл."), QStringLiteral("Пензенская обл."),
        QStringLiteral("Пермская обл."), QStringLiteral("Псковская обл."), QStringLiteral("Ростовская обл."),
        QStringLiteral("Рязанская обл."), QStringLiteral("Самарская обл."), QStringLiteral("Саратовская обл."),
        QStringLiteral("Сахалинская обл."), QStringLiteral("Свердловская обл."), QStringLiteral("Смоленская обл."),
        QStringLiteral("Тамбовская обл."), QStringLiteral("Тверская обл."), QStringLiteral("Томская обл."),
        QStringLiteral("Тульская обл."), QStringLiteral("Тюменская обл."), QStringLiteral("Ульяновская обл."),
        QStringLiteral("Челябинская обл."), QStringLiteral("Читинская обл."), QStringLiteral("Ярославская обл."),
        // federal cities
        QStringLiteral("Москва"), QStringLiteral("Санкт-Петербург"),
        // autonomous districts
        QStringLiteral("Еврейская АО"), QStringLiteral("Агинский-Бурятский АО"), QStringLiteral("Коми-Пермяцкий АО"),
        QStringLiteral("Корякский АО"), QStringLiteral("Ненецкий АО"),
        QStringLiteral("Таймырский (Долгано-Ненецкий) АО"),
        QStringLiteral("Усть-Ордынский Бурятский АО"), QStringLiteral("Ханты-Мансийский АО"),
        QStringLiteral("Чукотский АО"), QStringLiteral("Эвенкейский АО"), QStringLiteral("Ямало-Ненецкий АО"),
    };
    return list;
}

const QStringList& identityDocuments()
{
    static const QStringList list{
        kDefaultDocument,
        QStringLiteral("Паспорт СССР"),
        QStringLiteral("Паспорт заграничный"),
        QStringLiteral("Паспорт дипломатический"),
        QStringLiteral("Паспорт моряка"),
        QStringLiteral("Удостоверение личности офицера"),
        QStringLiteral("Военный билет"),
        QStringLiteral("Вид на жительство (в РФ)"),
        QStringLiteral("Иностранный паспорт"),
        QStringLiteral("Свидетельство о регистрации"),
        QStringLiteral("Свидетельство о внесении записи в ЕГРЮЛ"),
        QStringLiteral("Иной документ"),
    };
    return list;
}

const QStringList& countries()
{
    static const QStringList list{
        kDefaultCountry,
        QStringLiteral("Белоруссия"),
        QStringLiteral("Украина"),
        QStringLiteral("Казахстан"),
        QStringLiteral("Ввести др. страну"),
    };
    return list;
}

const QStringList& monthsOfUse()
{
    static const QStringList list{
        QStringLiteral("6"), QStringLiteral("7"),  QStringLiteral("8"), QStringLiteral("9"),
        QStringLiteral("10"), QStringLiteral("11"), kFullYearOfUse,
    };
    return list;
}

const QStringList& transitTerms()
{
    static const QStringList list{
        kDefaultTransitTerm, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
        QStringLiteral("4"),  QStringLiteral("5"), QStringLiteral("6"),
    };
    return list;
}

} // namespace osago
