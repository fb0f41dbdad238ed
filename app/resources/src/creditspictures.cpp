#include "resources/creditspictures.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace resources {

namespace {

// One stage of the pipeline: where it sits, its component and what it does there.
struct Stage {
    QRectF box;
    const char* name;
    const char* role;
};

constexpr std::array kStages{
    Stage{{6, 38, 96, 40}, "Text", "DOS or ANSI"},
    Stage{{112, 38, 96, 40}, "Text scanner", "dictionaries"},
    Stage{{218, 38, 96, 40}, "eSpeak NG", "synthesis"},
    Stage{{218, 118, 96, 40}, "libsoxr", "resampling"},
    Stage{{112, 98, 96, 36}, "PortAudio", "playback"},
    Stage{{112, 146, 96, 36}, "libsndfile", "PCM files"},
};

// Arrows between the stages, by index into kStages.
constexpr std::array<std::pair<int, int>, 5> kFlow{{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {3, 5}}};

QFont pixelFont(int pixels, bool bold, bool smooth = true) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    if (!smooth) {
        font.setStyleStrategy(QFont::NoAntialias);
    }
    return font;
}

void drawArrow(QPainter& painter, const QRectF& from, const QRectF& to) {
    QPointF start = from.center();
    QPointF end = to.center();
    if (from.bottom() < to.top()) {
        start.setY(from.bottom());
        end.setY(to.top());
    } else if (from.right() < to.left()) {
        start.setX(from.right());
        end.setX(to.left());
    } else {
        start.setX(from.left());
        end.setX(to.right());
    }
    painter.drawLine(start, end);
    const QLineF shaft(end, start);
    QPainterPath head;
    head.moveTo(end);
    head.lineTo(QLineF::fromPolar(7, shaft.angle() + 25).translated(end).p2());
    head.lineTo(QLineF::fromPolar(7, shaft.angle() - 25).translated(end).p2());
    head.closeSubpath();
    painter.fillPath(head, painter.pen().color());
}

void drawStage(QPainter& painter, const Stage& stage) {
    QLinearGradient face(stage.box.topLeft(), stage.box.bottomLeft());
    face.setColorAt(0, QColor(250, 250, 255));
    face.setColorAt(1, QColor(190, 210, 240));
    painter.setPen(QPen(QColor(30, 90, 160), 1.5));
    painter.setBrush(face);
    painter.drawRoundedRect(stage.box, 6, 6);
    painter.setPen(QColor(20, 30, 60));
    painter.setFont(pixelFont(12, true));
    painter.drawText(stage.box.adjusted(2, 3, -2, -stage.box.height() / 2),
                     Qt::AlignHCenter | Qt::AlignBottom, QString::fromUtf8(stage.name));
    painter.setFont(pixelFont(10, false));
    painter.drawText(stage.box.adjusted(2, stage.box.height() / 2 + 1, -2, -2),
                     Qt::AlignHCenter | Qt::AlignTop, QString::fromUtf8(stage.role));
}

QPixmap drawPipeline() {
    QPixmap picture(kCreditsPictureWidth, kCreditsPictureHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kCreditsPictureHeight);
    sky.setColorAt(0, QColor(255, 250, 230));
    sky.setColorAt(1, QColor(230, 240, 250));
    painter.fillRect(picture.rect(), sky);
    painter.setPen(QColor(120, 40, 20));
    painter.setFont(pixelFont(14, true));
    painter.drawText(QRectF(0, 6, kCreditsPictureWidth, 22), Qt::AlignCenter,
                     QStringLiteral("libsaymgr: from text to sound"));
    painter.setPen(QPen(QColor(200, 80, 30), 2));
    for (const auto& [from, to] : kFlow) {
        drawArrow(painter, kStages[static_cast<std::size_t>(from)].box,
                  kStages[static_cast<std::size_t>(to)].box);
    }
    for (const Stage& stage : kStages) {
        drawStage(painter, stage);
    }
    return picture;
}

// Who does what: each part of the program and its role.
constexpr std::array<std::pair<const char*, const char*>, 8> kParts{{
    {"Voxtrial", "the test bench (Qt 6 Widgets)"},
    {"libsaymgr", "the speech engine library"},
    {"Text scanner", "escapes, dictionaries"},
    {"eSpeak NG", "speech synthesis"},
    {"libsoxr", "resampling to 7.2-11.025 kHz"},
    {"PortAudio", "playback"},
    {"libsndfile", "the five PCM file formats"},
    {"voxtrial-cli", "the command-line driver"},
}};

QPixmap drawNames() {
    QImage picture(kCreditsPictureWidth, kCreditsPictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.setFont(pixelFont(14, true, false));
    painter.drawText(QRectF(0, 8, kCreditsPictureWidth, 20), Qt::AlignCenter,
                     QStringLiteral("Who does what"));
    painter.drawLine(40, 32, kCreditsPictureWidth - 40, 32);
    int y = 40;
    for (const auto& [name, role] : kParts) {
        painter.setFont(pixelFont(12, true, false));
        painter.drawText(QRectF(14, y, 96, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(name));
        painter.setFont(pixelFont(11, false, false));
        painter.drawText(QRectF(110, y, 204, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(role));
        y += 18;
    }
    painter.end();
    return QPixmap::fromImage(picture.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
}

}  // namespace

QPixmap loadCreditsPicture(int resourceId) {
    switch (resourceId) {
        case kGroupPhoto:
            return drawPipeline();
        case kNamesPicture:
            return drawNames();
        default:
            return {};
    }
}

}  // namespace resources
