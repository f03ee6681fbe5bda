#include "platform/desktop/QtMessageBox.h"

#include <QMessageBox>

#include "platform/desktop/QtText.h"

namespace updater {
namespace {

constexpr std::int32_t kButtonsMask = 0x0F;
constexpr std::int32_t kIconMask = 0x70;

QMessageBox::Icon IconOf(std::int32_t style) {
  switch (style & kIconMask) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

std::int32_t QtMessageBox::MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) {
  QMessageBox box;
  box.setWindowTitle(ToQt(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQt(prompt));
  box.setIcon(IconOf(style));
  if ((style & msgbox::kRtlReading) != 0) box.setLayoutDirection(Qt::RightToLeft);
  // The text can be selected and copied, as people do with error messages.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  if ((style & kButtonsMask) == msgbox::kYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
  }
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return msgbox::kAnswerYes;
    case QMessageBox::No: return msgbox::kAnswerNo;
    default: return msgbox::kAnswerOk;
  }
}

}  // namespace updater
