#include "shell/tools/InfoDlg.h"

#include "platform/Context.h"
#include "platform/Paths.h"
#include "ui/WidgetHelpers.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

// The project has no public home page yet; a reserved name stands for it.
const char* const kHomePage = "https://tavrinol.example/";

namespace {

constexpr int kImageWidth = 270;
constexpr int kImageHeight = 150;
constexpr int kClientWidth = 288;
constexpr int kClientHeight = 444;
constexpr int kAboutShift = 108;

} // namespace

QImage TitlePicture()
{
    QImage stored(ProgramPath(QStringLiteral("TITEL.BMP")));
    if (!stored.isNull())
        return stored.scaled(kImageWidth, kImageHeight, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kImageHeight);
    sky.setColorAt(0, QColor(16, 40, 96));
    sky.setColorAt(1, QColor(40, 110, 170));
    p.fillRect(image.rect(), sky);
    // A strip of circuit: wires between three blocks, as on the board.
    p.setPen(QPen(QColor(120, 220, 140), 2));
    p.drawLine(20, 118, 250, 118);
    p.drawLine(70, 100, 70, 118);
    p.drawLine(200, 100, 200, 118);
    p.setBrush(QColor(235, 240, 250));
    p.setPen(QPen(QColor(20, 20, 20), 1));
    for (int x : {50, 120, 180})
        p.drawRect(x, 86, 40, 26);
    p.setPen(QColor(255, 200, 60));
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 12, kImageWidth, 44), Qt::AlignCenter, QStringLiteral("Tavrinol"));
    QFont sub = title;
    sub.setPixelSize(15);
    sub.setBold(false);
    p.setFont(sub);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 54, kImageWidth, 22), Qt::AlignCenter, QStringLiteral("Ombrel 4.0"));
    return image;
}

TInfoDlg::TInfoDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("InfoDlg"));
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(kClientWidth, kClientHeight);
    P_Image = Named(new QFrame(this), "P_Image");
    P_Image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    P_Image->setLineWidth(1);
    P_Image->setGeometry(10, 10, kImageWidth, kImageHeight);
    Titel = Named(new QLabel(P_Image), "Titel");
    Titel->setGeometry(P_Image->contentsRect());
    Titel->setScaledContents(true);
    Titel->setPixmap(QPixmap::fromImage(TitlePicture()));
    L_Adresse = Named(new QLabel(this), "L_Adresse");
    L_Adresse->setAlignment(Qt::AlignHCenter);
    L_Adresse->move(0, 280);
    WebLabel = Named(new QLabel(this), "WebLabel");
    WebLabel->setCursor(Qt::PointingHandCursor);
    WebLabel->setStyleSheet(QStringLiteral("color: navy;"));
    WebLabel->installEventFilter(this);
    OKBtn = Named(new QPushButton(QStringLiteral("&OK"), this), "OKBtn");
    OKBtn->setDefault(true);
    OKBtn->resize(75, 25);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

void TInfoDlg::FormCreate()
{
    L_Adresse->setText(
        Lang3Q("Tavrinol Ombrel 4.0\n\nMessen, Steuern und Regeln\nohne Programmieren:\n"
               "Schaltung zeichnen,\nFrontplatte gestalten, starten.",
               "Tavrinol Ombrel 4.0\n\nMeasuring and control\nwithout programming:\n"
               "draw the circuit,\ndesign the front panel, run it.",
               "Tavrinol Ombrel 4.0\n\nMesure et commande\nsans programmation :\n"
               "dessinez le circuit,\ncréez la face avant, lancez-le."));
    WebLabel->setText(QString::fromLatin1(kHomePage));
    L_Adresse->adjustSize();
    WebLabel->adjustSize();
    L_Adresse->move((width() - L_Adresse->width()) / 2, L_Adresse->y());
    WebLabel->move((width() - WebLabel->width()) / 2, L_Adresse->geometry().bottom() + 1 + 10);
    OKBtn->move((width() - OKBtn->width()) / 2, WebLabel->y() + 34);
    setFixedHeight(OKBtn->y() + 65);
    Splash = false;
}

void TInfoDlg::FormShow()
{
    if (Splash || m_shown)
        return;
    m_shown = true;
    // The about box leaves out the space between the picture and the texts.
    for (QWidget* w : {static_cast<QWidget*>(L_Adresse), static_cast<QWidget*>(WebLabel),
                       static_cast<QWidget*>(OKBtn)})
        w->move(w->x(), w->y() - kAboutShift);
    setFixedHeight(height() - kAboutShift);
}

void TInfoDlg::ArrangeAsSplash()
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    P_Image->move(0, 0);
    setFixedSize(P_Image->size());
    Splash = true;
}

void TInfoDlg::SB_HomepageClick()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage)));
}

void TInfoDlg::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

bool TInfoDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == WebLabel) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::Leave: {
            QFont font = WebLabel->font();
            font.setUnderline(event->type() == QEvent::Enter);
            WebLabel->setFont(font);
            break;
        }
        case QEvent::MouseButtonRelease:
            SB_HomepageClick();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
