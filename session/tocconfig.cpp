#include "tocconfig.h"

#include "screenname.h"

namespace TocConfigText {

bool hasEnd(QByteArrayView text) { return text.contains(EndMarker); }

TocConfig parse(QByteArrayView text)
{
    TocConfig config;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QByteArrayView rest = text.sliced(pos);
        const qsizetype lineFeed = rest.indexOf('\n');
        const QByteArrayView line = lineFeed < 0 ? rest : rest.first(lineFeed);
        pos = lineFeed < 0 ? text.size() : pos + lineFeed + 1;

        if (line.startsWith("g:")) {
            config.BuddyList.append("[group]" + line.sliced(2).toByteArray());
        } else if (line.startsWith("b:")) {
            const QByteArray entry = line.sliced(2).toByteArray();
            config.BuddyList.append(QByteArray(entry).replace(":::::", ":"));
            // The alias is the field after the name; "b:name:::::note" has none.
            const QList<QByteArray> fields = entry.split(':');
            if (fields.size() > 1 && !fields[1].isEmpty())
                config.Aliases.insert(ScreenName::NormalizeName(fields[0]), fields[1]);
        } else if (line.startsWith("d:")) {
            config.BlockList.append(line.sliced(2).toByteArray());
        } else if (line.startsWith("pref:")) {
            config.strPreferences = line.sliced(5).toByteArray();
        } else if (line.startsWith("p:")) {
            config.PrivateList.append(line.sliced(2).toByteArray());
        } else if (line.startsWith("m:")) {
            // Only the single character after "m:" counts: "m:35" is mode 3.
            const char digit = line.size() > 2 ? line[2] : '0';
            config.PrivacyMode = (digit >= '0' && digit <= '9') ? qint16(digit - '0') : 0;
        } else if (line.startsWith("done:")) {
            config.complete = true;
            break;
        } else {
            config.MiscData.append(line.toByteArray());
        }
    }
    return config;
}

QByteArray buddyName(QByteArrayView entry)
{
    const qsizetype colon = entry.indexOf(':');
    return (colon < 0 ? entry : entry.first(colon)).toByteArray();
}

} // namespace TocConfigText
