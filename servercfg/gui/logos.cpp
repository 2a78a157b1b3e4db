#include "logos.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace cvarsmith {

namespace {

constexpr int kLogoWidth = 120;
constexpr int kLogoHeight = 60;

// A rounded badge with a large word and a small line under it.
QPixmap badge(const QColor& top, const QColor& bottom, const QString& word, const QString& line) {
  QPixmap picture(kLogoWidth, kLogoHeight);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 0, 0, kLogoHeight);
  shade.setColorAt(0, top);
  shade.setColorAt(1, bottom);
  QPainterPath outline;
  outline.addRoundedRect(QRectF(1, 1, kLogoWidth - 2, kLogoHeight - 2), 10, 10);
  painter.fillPath(outline, shade);
  painter.setPen(QPen(bottom.darker(160), 1.5));
  painter.drawPath(outline);

  QFont big(QStringLiteral("DejaVu Sans"));
  big.setBold(true);
  big.setPixelSize(26);
  painter.setFont(big);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 4, kLogoWidth, 36), Qt::AlignCenter, word);
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(10);
  painter.setFont(small);
  painter.drawText(QRect(0, 38, kLogoWidth, 16), Qt::AlignCenter, line);
  return picture;
}

}  // namespace

QPixmap modificationLogo() {
  return badge(QColor(255, 160, 40), QColor(200, 80, 0), QStringLiteral("OSP"),
               QStringLiteral("Tourney DM/CA/CTF"));
}

QPixmap authorsLogo() {
  return badge(QColor(90, 110, 140), QColor(30, 40, 60), QStringLiteral("kqz"),
               QStringLiteral("Cvarsmith"));
}

QIcon programIcon() {
  QPixmap picture(32, 32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(230, 120, 20));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(18);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("C"));
  return QIcon(picture);
}

}  // namespace cvarsmith
