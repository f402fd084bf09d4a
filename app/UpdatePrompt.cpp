#include "app/UpdatePrompt.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

namespace pomelark {

namespace {

// Plain text as markup that shows exactly that text, line breaks kept.
QString asMarkup(const QString &plain)
{
    return plain.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QMessageBox *makeBox(QMessageBox::Icon icon, const QString &title, QWidget *parent)
{
    auto *box = new QMessageBox(icon, title, title, QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    return box;
}

} // namespace

QMessageBox *UpdatePrompt::show(const Updater::CheckResult &result, const QVersionNumber &running, QWidget *parent)
{
    using Kind = Updater::CheckResult::Kind;
    QMessageBox *box = nullptr;
    switch (result.kind) {
    case Kind::notPossible:
        return nullptr;
    case Kind::updateAvailable: {
        box = makeBox(QMessageBox::Information,
                      QCoreApplication::translate("UpdatePrompt", "A new version of Pomelark is available"), parent);
        // The notes come from the network: shown as plain text, never as markup.
        QString details = QCoreApplication::translate("UpdatePrompt", "Pomelark %1 is out. You have %2.")
                              .arg(result.feed.version.toString(), running.toString());
        box->setInformativeText(asMarkup(details)
                                + (result.feed.notes.isEmpty() ? QString() : QStringLiteral("<br><br>") + asMarkup(result.feed.notes)));
        QPushButton *open = box->addButton(QCoreApplication::translate("UpdatePrompt", "Open Release Page"),
                                           QMessageBox::AcceptRole);
        QPushButton *later = box->addButton(QCoreApplication::translate("UpdatePrompt", "Later"),
                                            QMessageBox::RejectRole);
        box->setDefaultButton(open);
        box->setEscapeButton(later);
        const QUrl page = result.feed.releasePage;
        QObject::connect(box, &QMessageBox::finished, box, [box, open, page] {
            if (box->clickedButton() == open)
                QDesktopServices::openUrl(page);
        });
        break;
    }
    case Kind::upToDate:
        box = makeBox(QMessageBox::Information, QCoreApplication::translate("UpdatePrompt", "Pomelark is up to date"),
                      parent);
        box->setInformativeText(
            QCoreApplication::translate("UpdatePrompt", "Version %1 is the newest.").arg(running.toString()));
        box->addButton(QMessageBox::Ok);
        break;
    case Kind::unreachable:
    case Kind::unreadable:
        box = makeBox(QMessageBox::Warning, QCoreApplication::translate("UpdatePrompt", "Couldn't check for updates"),
                      parent);
        box->setInformativeText((
            result.kind == Kind::unreachable
                ? QCoreApplication::translate("UpdatePrompt", "The update feed could not be reached.")
                : QCoreApplication::translate("UpdatePrompt", "The update feed is not in the expected form.")));
        if (!result.error.isEmpty())
            box->setDetailedText(result.error);
        box->addButton(QMessageBox::Ok);
        break;
    }
    box->open();
    return box;
}

} // namespace pomelark
