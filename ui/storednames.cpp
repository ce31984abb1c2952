#include "storednames.h"

#include "session/screenname.h"

void StoredNames::reset(const QList<QByteArray> &names)
{
    m_names.clear();
    for (const QByteArray &name : names)
        insert(name);
}

bool StoredNames::insert(const QByteArray &name)
{
    const QByteArray key = ScreenName::NormalizeName(name);
    if (key.isEmpty())
        return false;
    const bool added = !m_names.contains(key);
    m_names.insert(key, name.trimmed());
    return added;
}

bool StoredNames::remove(const QByteArray &name) { return m_names.remove(ScreenName::NormalizeName(name)) > 0; }

bool StoredNames::contains(const QByteArray &name) const { return m_names.contains(ScreenName::NormalizeName(name)); }
