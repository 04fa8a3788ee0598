#include "platform/collation.h"

#include <algorithm>
#include <numeric>

namespace glyvex::platform {

QCollator peopleOrder()
{
    const QLocale locale;
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

QStringList sortedForPeople(const QStringList& names)
{
    const QCollator collator = peopleOrder();
    // One key a name: comparing keys is much cheaper than comparing the names each time.
    QList<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const QString& name : names)
        keys.append(collator.sortKey(name));
    std::vector<qsizetype> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const qsizetype i : order)
        sorted.append(names[i]);
    return sorted;
}

} // namespace glyvex::platform
