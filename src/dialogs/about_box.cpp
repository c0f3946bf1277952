#include "dialogs/about_box.h"

#include "commands/help_request.h"
#include "dialogs/window_resources.h"
#include "model/program_identity.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace orvane {

namespace {

// The box's own number: it has no help page, so F1 opens the help's contents.
constexpr unsigned aboutBoxHelpKey = 100;

QLabel* colouredLabel(const QString& text, const QColor& colour, bool customColours,
                      QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    if (customColours) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
    }
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget* parent, bool splashMode, bool customColours,
                   const QPixmap& backgroundPicture)
    : QDialog(parent), backgroundPicture_(backgroundPicture), splash_(splashMode)
{
    loadWindowResources();
    setWindowTitle(QStringLiteral("About Orvane"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/orvane.png")));

    auto* pictures = new QVBoxLayout;
    for (const char* name : {":/pictures/about_dish.png", ":/pictures/about_spectrum.png"}) {
        auto* picture = new QLabel(this);
        picture->setPixmap(QPixmap(QString::fromLatin1(name)));
        pictures->addWidget(picture);
    }
    pictures->addStretch();

    QFont boldFont = font();
    boldFont.setWeight(QFont::Bold);
    const QColor makerColour(0, 128, 255);
    auto* version =
        colouredLabel(QString::fromLatin1(versionText), QColor(255, 255, 0), customColours, this);
    version->setFont(boldFont);
    version->setObjectName(QStringLiteral("versionText"));

    auto* text = new QVBoxLayout;
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(colouredLabel(QStringLiteral("Velmora Software, transponder planning tools"),
                                  makerColour, customColours, this));
    text->addWidget(colouredLabel(QStringLiteral("Carrier plans, intermodulation reports"),
                                  makerColour, customColours, this));
    text->addWidget(colouredLabel(QStringLiteral("Copyright (C) Velmora Software"), makerColour,
                                  customColours, this));
    text->addStretch();

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setFont(boldFont);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(16);
    layout->addLayout(pictures);
    layout->addLayout(text, 1);
    layout->addLayout(buttons);
    setMinimumSize(420, 150);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { requestHelp(aboutBoxHelpKey); });

    if (splashMode) {
        okButton_->setEnabled(false);
        okButton_->hide();
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            move(available.center() - rect().center());
        }
        QTimer::singleShot(splashDurationMs, this, &QDialog::accept);
    }
}

void AboutBox::paintEvent(QPaintEvent* event)
{
    if (!backgroundPicture_.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(rect(), backgroundPicture_);
        if (splash_) {
            // A thin border in place of the frame the splash goes without.
            painter.setPen(QColor(0, 0, 0));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    QDialog::paintEvent(event);
}

} // namespace orvane
