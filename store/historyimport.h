#pragma once

// HistoryImport: reads the plain-text history files that earlier versions of
// Qiv wrote, for their one move into the database. It only reads; the files
// stay as they are. Each file held one correspondent or room: its name is the
// normalized name with every byte outside a-z and 0-9 written as %XX, under
// the history folder (rooms under rooms/), and each of its lines is
// "yyyy-MM-dd HH:mm:ss", tab, me / me-auto / them, tab, name, tab, body.

#include "historystore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace HistoryImport {

struct File
{
    HistoryStore::Place place;
    QByteArray name; // normalized, as in the file name
    QList<HistoryStore::Line> lines;
};

// Every history file under folder, with its whole lines; a line cut short by a
// crash, or any other line Qiv never wrote, is left out.
QList<File> read(const QString &folder);

// The normalized name a file name stands for; nullopt for one Qiv never wrote.
std::optional<QByteArray> nameOfStem(QStringView stem);

} // namespace HistoryImport
