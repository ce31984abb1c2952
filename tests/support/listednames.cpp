#include "listednames.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>

QStringList listedNames(const QAbstractItemView &view)
{
    QStringList names;
    const QAbstractItemModel *model = view.model();
    for (int row = 0; model && row < model->rowCount(view.rootIndex()); ++row)
        names << model->index(row, 0, view.rootIndex()).data().toString();
    return names;
}
