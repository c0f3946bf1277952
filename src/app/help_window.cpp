#include "app/help_window.h"

#include <QAction>
#include <QKeySequence>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace orvane {

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), browser_(new QTextBrowser(this))
{
    // The program ends with its main window, whether help is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    browser_->setOpenExternalLinks(true);
    setCentralWidget(browser_);
    QToolBar* toolBar = addToolBar(QStringLiteral("Navigation"));
    toolBar->setMovable(false);
    QAction* back = toolBar->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    QAction* forward =
        toolBar->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    toolBar->addAction(QStringLiteral("Contents"), this,
                       [this] { browser_->setSource(homePage_); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    resize(760, 620);
}

void HelpWindow::showPage(const QUrl& page, const QString& title)
{
    homePage_ = page.resolved(QUrl(QStringLiteral("index.htm")));
    setWindowTitle(title);
    browser_->setSource(page);
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::currentPage() const
{
    return browser_->source();
}

} // namespace orvane
