#include "app/app_look.h"
#include "app/form1.h"
#include "app/qt_dialogs.h"
#include "app/single_instance.h"
#include "app/xdg_shell.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    // Before anything else: a second start shows nothing and touches no file.
    if (!zenbalo::acquireSingleInstanceLock())
        return 0;
    QApplication app(argc, argv);
    zenbalo::setUpApplication(app);
    zenbalo::QtDialogs dialogs;
    zenbalo::XdgShell shell;
    zenbalo::Form1 form(dialogs, shell);
    dialogs.setParent(&form);
    form.Form_Load();
    form.show();
    return app.exec();
}
