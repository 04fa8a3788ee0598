#pragma once
// The order in which the program's lists show names to a person.
#include <QCollator>
#include <QStringList>

namespace glyvex::platform {

// The user's language's rules (English rules when no locale is set: the C locale would put every
// capital before every small letter), capitals and small letters together, numbers by their value
// ("9 Pitch" before "10 Pitch").
QCollator peopleOrder();

// The names in that order; names that compare equal keep the order they were given in.
QStringList sortedForPeople(const QStringList& names);

} // namespace glyvex::platform
