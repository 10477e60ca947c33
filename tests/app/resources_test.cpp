#include "cashier/frm_about.h"
#include "platform/icons.h"
#include "reports/frm_doc_print.h"

#include "support/modal_windows.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>
#include <QToolBar>

#include <map>
#include <memory>

namespace tavuro {
namespace {

using testing::ShopFixture;

// Something is drawn: some pixels show and not all of them alike.
bool drawn(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) > 0) colours.insert(image.pixel(x, y));
    }
  }
  return colours.size() > 1;
}

QByteArray pixels(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

TEST(ProgramIcon, IsAScalableDrawingThatRendersAtEverySize) {
  platform::load_resources();
  QImageReader reader(QStringLiteral(":/tavuro/tavuro.svg"));
  ASSERT_TRUE(reader.canRead()) << "no SVG image plugin (libqt6svg6)";
  EXPECT_EQ(reader.format(), QByteArray("svg"));

  const QIcon icon = platform::program_icon();
  ASSERT_FALSE(icon.isNull());
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QPixmap pixmap = icon.pixmap(size, size);
    ASSERT_FALSE(pixmap.isNull()) << size;
    EXPECT_EQ(pixmap.size(), QSize(size, size)) << "drawn at the size asked for, not scaled up";
    EXPECT_TRUE(drawn(pixmap)) << size;
  }
  EXPECT_EQ(pixels(icon.pixmap(32, 32)), pixels(QIcon(QStringLiteral(":/tavuro/tavuro.svg")).pixmap(32, 32)));
}

TEST(ProgramIcon, TheAboutWindowShowsIt) {
  ShopFixture shop;
  shop.start_up();
  cashier::frm_About window(shop.state);
  ASSERT_TRUE(testing::show_active(window));
  const QPixmap shown = window.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap();
  ASSERT_FALSE(shown.isNull());
  EXPECT_TRUE(drawn(shown));
  EXPECT_EQ(pixels(shown),
            pixels(platform::program_icon().pixmap(shown.size() / shown.devicePixelRatio(), shown.devicePixelRatio())));
}

// The toolbar tools of the document window and their freedesktop icon names.
const std::map<QString, QString> kToolIcons = {
    {QStringLiteral("打开"), QStringLiteral("document-open")},
    {QStringLiteral("保存"), QStringLiteral("document-save")},
    {QStringLiteral("打印"), QStringLiteral("document-print")},
    {QStringLiteral("剪切"), QStringLiteral("edit-cut")},
    {QStringLiteral("复制"), QStringLiteral("edit-copy")},
    {QStringLiteral("粘贴"), QStringLiteral("edit-paste")},
    {QStringLiteral("粗体"), QStringLiteral("format-text-bold")},
    {QStringLiteral("斜体"), QStringLiteral("format-text-italic")},
    {QStringLiteral("下划线"), QStringLiteral("format-text-underline")},
    {QStringLiteral("左对齐"), QStringLiteral("format-justify-left")},
    {QStringLiteral("置中"), QStringLiteral("format-justify-center")},
    {QStringLiteral("右对齐"), QStringLiteral("format-justify-right")},
    {QStringLiteral("颜色"), QStringLiteral("format-text-color")},
};

// A desktop icon theme of our own for the length of a test: empty, or holding a plain
// square for each of the given names. The desktop's own themes are out of sight.
class IconTheme {
 public:
  explicit IconTheme(const QStringList& names = {})
      : name_(QIcon::themeName()), paths_(QIcon::themeSearchPaths()), fallback_(QIcon::fallbackSearchPaths()) {
    const QString root = dir_.filePath(QStringLiteral("tavuro-test"));
    QDir().mkpath(root + QStringLiteral("/22x22/actions"));
    QFile index(root + QStringLiteral("/index.theme"));
    EXPECT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=tavuro-test\nDirectories=22x22/actions\n\n[22x22/actions]\nSize=22\n");
    index.close();
    for (const QString& icon : names) {
      QImage square(22, 22, QImage::Format_ARGB32);
      square.fill(Qt::darkCyan);
      EXPECT_TRUE(square.save(root + QStringLiteral("/22x22/actions/") + icon + QStringLiteral(".png")));
    }
    QIcon::setThemeSearchPaths({dir_.path()});
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName(QStringLiteral("tavuro-test"));
  }
  ~IconTheme() {
    QIcon::setThemeSearchPaths(paths_);
    QIcon::setFallbackSearchPaths(fallback_);
    QIcon::setThemeName(name_);
  }
  IconTheme(const IconTheme&) = delete;
  IconTheme& operator=(const IconTheme&) = delete;

 private:
  QTemporaryDir dir_;
  QString name_;
  QStringList paths_;
  QStringList fallback_;
};

struct DocumentToolbar : ::testing::Test {
  void SetUp() override { shop.start_up(); }
  QList<QAction*> tools(reports::frmDoc_print& window) const {
    QList<QAction*> found;
    for (QAction* action : window.findChild<QToolBar*>(QStringLiteral("tbToolBar"))->actions()) {
      if (!action->objectName().isEmpty()) found << action;
    }
    return found;
  }
  ShopFixture shop;
};

TEST_F(DocumentToolbar, WithoutADesktopThemeEveryToolShowsItsOwnDrawing) {
  IconTheme empty;
  reports::frmDoc_print window(shop.state);
  const QList<QAction*> actions = tools(window);
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(kToolIcons.size()));
  QSet<QByteArray> looks;
  for (QAction* action : actions) {
    const std::string key = action->objectName().toStdString();
    ASSERT_FALSE(action->icon().isNull()) << key;
    const QPixmap pixmap = action->icon().pixmap(20, 20);
    ASSERT_EQ(pixmap.size(), QSize(20, 20)) << key;
    EXPECT_TRUE(drawn(pixmap)) << key;
    looks.insert(pixels(pixmap));
  }
  EXPECT_EQ(looks.size(), actions.size()) << "two tools look alike";
}

TEST_F(DocumentToolbar, TheDesktopThemeIconsComeFirstUnderTheirFreedesktopNames) {
  QStringList names;
  for (const auto& [key, name] : kToolIcons) names << name;
  IconTheme theme(names);
  reports::frmDoc_print window(shop.state);
  for (QAction* action : tools(window)) {
    const auto expected = kToolIcons.find(action->objectName());
    ASSERT_NE(expected, kToolIcons.end()) << action->objectName().toStdString();
    EXPECT_EQ(action->icon().name().toStdString(), expected->second.toStdString())
        << action->objectName().toStdString();
  }
}

}  // namespace
}  // namespace tavuro
