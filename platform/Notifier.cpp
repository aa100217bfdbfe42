#include "Notifier.h"

#include <QMessageBox>

namespace lumawrite::platform {

void MessageBoxNotifier::show(QWidget *parent, Kind kind, const QString &title, const QString &text)
{
    switch (kind) {
    case Kind::Critical:
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
        break;
    case Kind::Warning:
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
        break;
    case Kind::Information:
        QMessageBox::information(parent, title, text, QMessageBox::Ok);
        break;
    }
}

} // namespace lumawrite::platform
