#include "cashier/frm_about.h"
#include "cashier/frm_browser.h"
#include "cashier/help_page.h"

#include "admin_window_driving.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using testing::ScriptedDialogs;
using testing::ShopFixture;

const QByteArray kPage =
    "<html><head><meta charset=\"utf-8\"><title>帮助</title></head><body><h1>使用说明</h1><p>收银</p></body></html>";

class AboutWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    window = std::make_unique<frm_About>(shop.state);
    window->set_link_opener([this](const QUrl& url) {
      opened << url;
      return open_works;
    });
    ASSERT_TRUE(testing::show_active(window.get()));
    link = window->findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(link, nullptr);
  }
  QString text(const char* name) const { return window->findChild<QLabel*>(QString::fromUtf8(name))->text(); }
  void move_over(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }

  ShopFixture shop;
  ScriptedDialogs dialogs;
  std::unique_ptr<frm_About> window;
  QLabel* link = nullptr;
  QList<QUrl> opened;
  bool open_works = true;
};

TEST_F(AboutWindow, TitleVersionAndTexts) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("关于 Tavuro收银机"));
  EXPECT_EQ(text("lblTitle"), QStringLiteral("Tavuro收银机"));
  EXPECT_EQ(text("lblVersion"), QStringLiteral("版本 2.0"));
  EXPECT_EQ(text("lblDescription"),
            QStringLiteral("本软件的运行环境：Windows XP、Win2000、Windows SE、Windows Me 、Windows98、97、95系统"));
  EXPECT_FALSE(text("lblDisclaimer").isEmpty());
  EXPECT_EQ(text("Label1"), QStringLiteral("在网上下载最新的升级版本"));
  EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
  auto* help = window->findChild<QPushButton*>(QStringLiteral("cmd_help"));
  EXPECT_EQ(help->text(), QStringLiteral("帮助(&H)..."));
  EXPECT_EQ(help->toolTip(), QStringLiteral("阅读帮助文件"));
  auto* ok = window->findChild<QPushButton*>(QStringLiteral("cmdOK"));
  EXPECT_EQ(ok->text(), QStringLiteral("关闭"));
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(AboutWindow, TheLinkLightsUpUnderThePointerAndGoesBackToBlue) {
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
  move_over(link);
  EXPECT_EQ(link->toolTip(), kMakerPage);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(link->font().underline());
  EXPECT_TRUE(link->font().bold());
  move_over(window.get());
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_FALSE(link->font().underline());
  EXPECT_FALSE(link->font().bold());
}

TEST_F(AboutWindow, ClickingTheLinkOpensTheMakersPageOrSaysItCannot) {
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(opened, QList<QUrl>{QUrl(kMakerPage)});
  EXPECT_TRUE(dialogs.shown().empty());
  open_works = false;
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("此功能尚未完善。")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::None);
}

TEST_F(AboutWindow, HelpShowsThePageInTheBrowserOrNamesTheMissingFile) {
  auto* help = window->findChild<QPushButton*>(QStringLiteral("cmd_help"));
  const QString path = shop.file(QStringLiteral("readme.htm"));
  QTest::mouseClick(help, Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("找不到帮助文件[") + path + QLatin1Char(']')});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);

  testing::write_bytes(path, kPage);
  QString caption;
  QString shown;
  testing::on_next_modal([&](QWidget* modal) {
    caption = modal->windowTitle();
    shown = modal->findChild<QTextBrowser*>(QStringLiteral("brwWebBrowser"))->toPlainText();
    modal->close();
  });
  QTest::mouseClick(help, Qt::LeftButton);
  EXPECT_EQ(caption, QStringLiteral("Tavuro收银机浏览器"));
  EXPECT_TRUE(shown.contains(QStringLiteral("使用说明"))) << shown.toStdString();
  EXPECT_EQ(shop.state.browse_target, path);
  EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST(HelpBrowser, TheBrowserFillsTheWindowBarAMarginAndTheMenuIsSilentWithoutAPage) {
  ShopFixture shop;
  shop.start_up();
  ScriptedDialogs dialogs;
  EXPECT_FALSE(show_help_page(shop.state, nullptr));
  EXPECT_TRUE(dialogs.shown().empty());

  shop.state.browse_target = shop.file(QStringLiteral("page.htm"));
  testing::write_bytes(shop.state.browse_target, kPage);
  frmBrowser browser(shop.state);
  browser.resize(500, 400);
  browser.show();
  auto* view = browser.findChild<QTextBrowser*>(QStringLiteral("brwWebBrowser"));
  EXPECT_EQ(view->geometry(), QRect(0, 0, 500 - 6, 400 - 6));
  browser.resize(3, 3);  // too small for a margin: the browser shrinks to nothing
  EXPECT_EVENTUALLY_EQ(view->geometry().size(), QSize(0, 0));
}

// The help page shipped with the program reads as Chinese and covers the daily work.
TEST(HelpBrowser, TheShippedHelpPageReadsAsChinese) {
  ShopFixture shop;
  shop.state.browse_target = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../resources/readme.htm");
  ASSERT_TRUE(QFileInfo::exists(shop.state.browse_target));
  frmBrowser browser(shop.state);
  const QTextDocument* page = browser.findChild<QTextBrowser*>(QStringLiteral("brwWebBrowser"))->document();
  const QString text = page->toPlainText();
  for (const char* topic : {"临时记录", "创建单号", "注册商品", "查询", "管理员密码", "屏蔽", "备份", "2003_5"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
  }
  // Every entry of the table of contents leads to a section of the page.
  QStringList anchors;
  QStringList links;
  for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
    anchors << block.charFormat().anchorNames() << block.blockFormat().property(QTextFormat::AnchorName).toStringList();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      anchors << format.anchorNames();
      if (format.anchorHref().startsWith(QLatin1Char('#'))) links << format.anchorHref().mid(1);
    }
  }
  EXPECT_EQ(links.size(), 12);
  for (const QString& link : links) EXPECT_TRUE(anchors.contains(link)) << link.toStdString();
}

}  // namespace
}  // namespace tavuro::cashier
