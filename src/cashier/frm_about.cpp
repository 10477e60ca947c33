#include "cashier/frm_about.h"

#include "cashier/frm_browser.h"
#include "cashier/help_page.h"
#include "platform/app_info.h"
#include "platform/dialogs.h"
#include "platform/icons.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tavuro::cashier {

namespace {

constexpr int kIconSize = 48;

QLabel* make_label(QWidget* parent, const char* name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setMouseTracking(true);
  return label;
}

}  // namespace

frm_About::frm_About(startup::AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), open_link_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  setObjectName(QStringLiteral("frm_About"));
  setModal(true);
  setMouseTracking(true);

  QLabel* picIcon = make_label(this, "picIcon");
  picIcon->setPixmap(platform::program_icon().pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
  picIcon->setAlignment(Qt::AlignTop);
  QLabel* lblTitle = make_label(this, "lblTitle");
  QFont title_font = lblTitle->font();
  title_font.setPointSizeF(title_font.pointSizeF() * 1.5);
  title_font.setBold(true);
  lblTitle->setFont(title_font);
  QLabel* lblVersion = make_label(this, "lblVersion");
  QLabel* lblDescription = make_label(
      this, "lblDescription",
      QStringLiteral("本软件的运行环境：Windows XP、Win2000、Windows SE、Windows Me 、Windows98、97、95系统"));
  lblDescription->setWordWrap(true);
  QLabel* lblDisclaimer = make_label(
      this, "lblDisclaimer",
      QStringLiteral("本软件按现状提供，使用者自行承担使用风险。所有销售数据保存在程序所在的文件夹中，"
                     "请定期备份。作者不对因使用本软件造成的任何数据丢失或经济损失承担责任。"));
  lblDisclaimer->setWordWrap(true);
  Label1_ = make_label(this, "Label1", QStringLiteral("在网上下载最新的升级版本"));
  Label1_->setCursor(Qt::PointingHandCursor);
  Label1_->installEventFilter(this);
  set_link_look(Qt::blue, false);

  auto* cmd_help = new QPushButton(QStringLiteral("帮助(&H)..."), this);
  cmd_help->setObjectName(QStringLiteral("cmd_help"));
  cmd_help->setToolTip(QStringLiteral("阅读帮助文件"));
  auto* cmdOK = new QPushButton(QStringLiteral("关闭"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  connect(cmd_help, &QPushButton::clicked, this, &frm_About::cmd_help_Click);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addSpacing(8);
  text->addWidget(lblDescription);
  auto* head = new QHBoxLayout;
  head->addWidget(picIcon);
  head->addSpacing(12);
  head->addLayout(text, 1);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmd_help);
  auto* foot = new QHBoxLayout;
  auto* notice = new QVBoxLayout;
  notice->addWidget(lblDisclaimer);
  notice->addWidget(Label1_);
  foot->addLayout(notice, 1);
  foot->addSpacing(12);
  foot->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  layout->addWidget(line);
  layout->addLayout(foot);
  setFixedWidth(6600 / 15);

  // Load
  setWindowTitle(QStringLiteral("关于 ") + platform::app_title());
  lblTitle->setText(platform::app_title());
  lblVersion->setText(about_version_text());
}

void frm_About::set_link_look(const QColor& color, bool hovered) {
  QPalette palette = Label1_->palette();
  palette.setColor(QPalette::WindowText, color);
  Label1_->setPalette(palette);
  QFont font = Label1_->font();
  font.setUnderline(hovered);
  font.setBold(hovered);
  Label1_->setFont(font);
}

bool frm_About::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label1_) {
    if (event->type() == QEvent::MouseMove) {
      Label1_->setToolTip(kMakerPage);
      set_link_look(Qt::red, true);
      return true;  // not passed on to the window, which would take the hover look off
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
               Label1_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
      Label1_Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frm_About::mouseMoveEvent(QMouseEvent* event) {
  // Off the link: back to a plain blue link.
  if (Label1_->palette().color(QPalette::WindowText) != QColor(Qt::blue) || Label1_->font().bold() ||
      Label1_->font().underline()) {
    set_link_look(Qt::blue, false);
  }
  QDialog::mouseMoveEvent(event);
}

void frm_About::Label1_Click() {
  state_.browse_target = kMakerPage;
  if (!open_link_ || !open_link_(QUrl(kMakerPage))) {
    platform::dialogs().message(QStringLiteral("此功能尚未完善。"), platform::Icon::None);
  }
}

void frm_About::cmd_help_Click() {
  if (!show_help_page(state_, this)) {
    platform::dialogs().message(QStringLiteral("找不到帮助文件[") + help_path(state_.paths.app_dir) + QLatin1Char(']'),
                                platform::Icon::Information);
  }
}

}  // namespace tavuro::cashier
