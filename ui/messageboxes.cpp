#include "ui/messageboxes.h"

#include <QMessageBox>

namespace korval {

void QtMessageBoxes::Show(QWidget *parent, const QString &text, MessageIcon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("KORVAL"));
    box.setText(text);
    box.setIcon(icon == MessageIcon::Error         ? QMessageBox::Critical
                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                   : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtMessageBoxes::AskYesNo(QWidget *parent, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("KORVAL"));
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace korval
