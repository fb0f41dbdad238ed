#include "mainwindow.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

#include "context/commandids.h"
#include "platform/postedmessage.h"
#include "platform/windowplacement.h"
#include "resources/programicon.h"

namespace shell {

namespace {

// n/16 of a width, remainder dropped.
int sixteenths(int n, int width) {
    return n * width / 16;
}
int trunc(double value) {
    return static_cast<int>(value);
}
int scrollBarHeight(const QWidget& widget) {
    return widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
}

}  // namespace

MainWindow::MainWindow(WindowProcedure& procedure, bool& pauseShowsResume)
    : SayBenchWindow(procedure, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_pauseShowsResume(pauseShowsResume) {
    setWindowTitle(QStringLiteral("Quenvar Voxtrial"));
    setWindowIcon(resources::programIcon());
    m_normalSize = QSize(trunc(logicalDpiX() * 4.3), trunc(logicalDpiY() * 3.5));
    setMinimumSize(m_normalSize);
    resize(m_normalSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 4, area.height() / 8);
    }
    m_client = new QWidget(this);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        placeClientArea();
        keepNormalSize();
    }
    return SayBenchWindow::event(event);
}

void MainWindow::placeClientArea() {
    const int top = m_menuBar ? m_menuBar->sizeHint().height() : 0;
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, width(), top);
    m_client->setGeometry(0, top, width(), height() - top);
}

void MainWindow::keepNormalSize() {
    if (windowState() != Qt::WindowNoState || size() == m_normalSize)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (windowState() == Qt::WindowNoState)
                resize(m_normalSize);
        },
        Qt::QueuedConnection);
}

// A bordered label (the source and language) shows a plain border; a frame label (the voice
// values' names and the notice line) only the window's light frame, no dark box.
QLabel* MainWindow::makeLabel(bool framed) {
    auto* label = new QLabel(m_client);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (framed) {
        label->setStyleSheet(QStringLiteral("QLabel { border: 1px solid palette(light); }"));
    } else {
        label->setFrameShape(QFrame::Box);
    }
    return label;
}

QSlider* MainWindow::makeSlider(int id, const QString& name) {
    auto* slider = new QSlider(Qt::Horizontal, m_client);
    slider->setAccessibleName(name);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setPageStep(1);
    slider->setRange(1, 9);
    connect(slider, &QAbstractSlider::actionTriggered, this,
            [this, id] { platform::postMessage(this, context::kHScrollEventType, id); });
    return slider;
}

ImageButton* MainWindow::makeImageButton(int id, const QString& text, const QString& name) {
    auto* button = new ImageButton(id, text, name, m_client);
    connect(button, &QAbstractButton::clicked, this,
            [this, id] { platform::sendMessage(this, platform::kCommandEventType, id); });
    return button;
}

QPushButton* MainWindow::makePushButton(int id, const QString& text) {
    auto* button = new QPushButton(text, m_client);
    connect(button, &QAbstractButton::clicked, this,
            [this, id] { platform::sendMessage(this, platform::kCommandEventType, id); });
    return button;
}

void MainWindow::createControls(engine::MenuBar* menuBar) {
    m_menuBar = menuBar;
    if (m_menuBar)
        m_menuBar->setParent(this);
    placeClientArea();

    const int W = width();
    const int U = m_client->height() / 12;
    const int CY = scrollBarHeight(*this);
    const int M = W / 16;
    const int Y0 = trunc(U * 0.5);
    const int Y5 = trunc(U * 5.5);

    m_sourceLabel = makeLabel(false);
    m_sourceLabel->setGeometry(sixteenths(2, W), Y0, sixteenths(3, W), 20);
    m_languageLabel = makeLabel(false);
    m_languageLabel->setGeometry(sixteenths(7, W), Y0, sixteenths(7, W), 20);
    m_volumeLabel = makeLabel(true);
    m_volumeLabel->setGeometry(sixteenths(2, W), 2 * U, sixteenths(2, W), 20);
    m_volume = makeSlider(context::IDC_VOLUME, tr("Volume"));
    m_volume->setGeometry(sixteenths(6, W), 2 * U, sixteenths(8, W), CY);
    m_pitchLabel = makeLabel(true);
    m_pitchLabel->setGeometry(sixteenths(2, W), 3 * U, sixteenths(2, W), 20);
    m_pitch = makeSlider(context::IDC_PITCH, tr("Pitch"));
    m_pitch->setGeometry(sixteenths(6, W), 3 * U, sixteenths(8, W), CY);
    m_rateLabel = makeLabel(true);
    m_rateLabel->setGeometry(sixteenths(2, W), 4 * U, sixteenths(2, W), 20);
    m_rate = makeSlider(context::IDC_RATE, tr("Rate"));
    m_volumeLabel->setBuddy(m_volume);
    m_pitchLabel->setBuddy(m_pitch);
    m_rateLabel->setBuddy(m_rate);
    m_rate->setGeometry(sixteenths(6, W), 4 * U, sixteenths(8, W), CY);
    m_input = new InputWindow(m_client);
    m_input->setAccessibleName(tr("Text to speak"));
    m_input->setGeometry(M, 7 * U, sixteenths(14, W), 90);
    m_notice = makeLabel(true);
    m_notice->setGeometry(M, 11 * U, sixteenths(14, W), 20);

    const int imageWidth = 4 * W / 33;
    auto* speak = makeImageButton(context::IDC_SPEAK, QStringLiteral("1"), tr("Speak"));
    speak->setGeometry(sixteenths(2, W), Y5, imageWidth, 26);
    auto* stop = makeImageButton(context::IDC_STOP, QStringLiteral("2"), tr("Stop"));
    stop->setGeometry(trunc(W * 4.5 * 0.0625), Y5, imageWidth, 26);
    auto* pause = makeImageButton(context::IDC_PAUSE, QStringLiteral("3"), tr("Pause or resume"));
    pause->setGeometry(sixteenths(7, W), Y5, imageWidth, 20);
    m_demo = makePushButton(context::IDC_DEMO, QStringLiteral("Demo"));
    m_demo->setGeometry(trunc(W * 9.5 * 0.0625), Y5, sixteenths(2, W), 24);
    m_about = makePushButton(context::IDC_ABOUTSPEAK, QStringLiteral("About"));
    m_about->setGeometry(sixteenths(12, W), Y5, sixteenths(2, W), 24);
    m_about->setAccessibleName(tr("Speak the engine's about text"));
    m_demo->setAccessibleName(tr("Speak the demo text"));

    m_buttons = std::make_unique<ButtonSet>(std::array<ImageButton*, 3>{speak, stop, pause},
                                            m_pauseShowsResume);
}

void MainWindow::layout() {
    const int CW = m_client->width();
    const int U = m_client->height() / 12;
    const int CY = scrollBarHeight(*this);
    const int M = CW / 16;
    const int Y0 = trunc(U * 0.5);
    const int Y5 = trunc(U * 5.5);
    if (m_firstLayoutWidth == 0)
        m_firstLayoutWidth = CW;
    const int imageWidth = 4 * m_firstLayoutWidth / 33;

    m_sourceLabel->setGeometry(sixteenths(2, CW), Y0, sixteenths(3, CW), 20);
    m_languageLabel->setGeometry(sixteenths(7, CW), Y0, sixteenths(7, CW), 20);
    int row = 2;
    for (QLabel* label : {m_volumeLabel, m_pitchLabel, m_rateLabel})
        label->setGeometry(sixteenths(2, CW), row++ * U, sixteenths(2, CW), 20);
    row = 2;
    for (QSlider* slider : {m_volume, m_pitch, m_rate})
        slider->setGeometry(sixteenths(6, CW), row++ * U, sixteenths(8, CW), CY);
    m_buttons->button(ButtonSet::kSpeak).setGeometry(sixteenths(2, CW), Y5, imageWidth, 26);
    m_buttons->button(ButtonSet::kStop)
        .setGeometry(trunc(CW * 5.5 * 0.0625 - 24), Y5, imageWidth, 26);
    m_buttons->button(ButtonSet::kPause).setGeometry(sixteenths(8, CW) - 24, Y5, imageWidth, 26);
    m_demo->setGeometry(trunc(CW * 10.5 * 0.0625 - 24), Y5, 48, 24);
    m_about->setGeometry(sixteenths(14, CW) - 48, Y5, 48, 24);
    m_input->setGeometry(M, 7 * U, sixteenths(14, CW), 90);
    m_notice->setGeometry(M, 11 * U, sixteenths(14, CW), 20);

    m_buttons->button(ButtonSet::kPause).show();
    m_demo->show();
    if (m_menuBar && m_menuBar->extendedMode())
        m_menuBar->setItemEnabled(context::IDM_FREQ7K, true);
}

MiniPanel::MiniPanel(WindowProcedure& procedure, bool& pauseShowsResume)
    : SayBenchWindow(procedure, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowMaximizeButtonHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Quenvar Voxkit 1.00"));
    setWindowIcon(resources::programIcon());
    const std::array<std::pair<int, const char*>, 3> specs{{{context::IDC_SPEAK, "Speak"},
                                                            {context::IDC_STOP, "Stop"},
                                                            {context::IDC_PAUSE, "Pause"}}};
    std::array<ImageButton*, 3> buttons{};
    for (int i = 0; i < 3; ++i) {
        const int id = specs[i].first;
        const char* text = specs[i].second;
        buttons[i] =
            new ImageButton(id, QString::fromLatin1(text), QString::fromLatin1(text), this);
        buttons[i]->setGeometry(1 + 48 * i, 1, 48, 24);
        connect(buttons[i], &QAbstractButton::clicked, this,
                [this, id] { platform::sendMessage(this, platform::kCommandEventType, id); });
    }
    buttons[ButtonSet::kPause]->setAccessibleName(tr("Pause or resume"));
    m_buttons = std::make_unique<ButtonSet>(buttons, pauseShowsResume);
    placeOnScreen();
}

void MiniPanel::placeOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 0;
    const int captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    // Wider than its buttons where the caption needs it, keeping its gap to the screen's edge.
    constexpr int kButtonsWidth = 148;
    constexpr int kEdgeGap = 7;
    const int width = std::max(kButtonsWidth, platform::widthForCaption(*this));
    setGeometry(screenWidth - width - kEdgeGap, captionHeight, width, 47);
}

}  // namespace shell
