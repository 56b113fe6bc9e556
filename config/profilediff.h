#pragma once

#include <QList>
#include <QString>

// The commands that bring the modem's profile list OLD to NEW. Profiles are
// matched by name (exact, case-sensitive); the modem replaces a profile when
// one of the same name is added, and deletes by name.
namespace ProfileDiff {

template <class Profile>
struct Step {
    enum Kind { Add, Delete };
    Kind kind;
    Profile profile; // Add: the profile to send; Delete: the old profile
};

template <class Profile>
int indexByName(const QList<Profile> &list, const QString &name)
{
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).name == name)
            return i;
    return -1;
}

// First pass over OLD: gone profiles are deleted, changed ones are added anew
// (the first NEW profile of that name takes part). Second pass over NEW:
// names OLD lacks are added, duplicates included.
template <class Profile>
QList<Step<Profile>> steps(const QList<Profile> &oldList, const QList<Profile> &newList)
{
    QList<Step<Profile>> out;
    for (const Profile &o : oldList) {
        const int i = indexByName(newList, o.name);
        if (i < 0)
            out.append({ Step<Profile>::Delete, o });
        else if (newList.at(i) != o)
            out.append({ Step<Profile>::Add, newList.at(i) });
    }
    for (const Profile &n : newList)
        if (indexByName(oldList, n.name) < 0)
            out.append({ Step<Profile>::Add, n });
    return out;
}

} // namespace ProfileDiff
