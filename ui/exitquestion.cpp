#include "exitquestion.h"

#include "dialogs.h"
#include "productinfo.h"

#include <QCoreApplication>
#include <QString>

namespace ExitQuestion {

EndProgram endApplication()
{
    return [] { QCoreApplication::exit(0); };
}

bool ask(Dialogs &dialogs, QWidget *parent, const EndProgram &endProgram)
{
    if (!dialogs.askYesNo(parent, QStringLiteral("Are you sure you want to exit?"), ProductInfo::ProgramTitle))
        return false;
    if (endProgram)
        endProgram();
    return true;
}

} // namespace ExitQuestion
