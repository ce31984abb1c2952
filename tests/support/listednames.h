#pragma once

// What a list view shows, row by row, read through its model as a screen
// reader would.

#include <QStringList>

class QAbstractItemView;

QStringList listedNames(const QAbstractItemView &view);
