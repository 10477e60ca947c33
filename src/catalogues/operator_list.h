#pragma once
// The operator list use.dat as the operator window works on it: its list lines, the
// registration and deletion of an operator, and the choice of the current operator.
// use.dat is made afresh when it has gone missing; it has no backup copy.

#include "startup/app_state.h"
#include "store/record_ref.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace tavuro::catalogues {

inline const QString kOperatorPlaceholder = QStringLiteral("你的姓名或编号");
inline const QString kOperatorTooWide = QStringLiteral("只可以最多使用3个中文字或6个英文字符，否则数据出错！");
inline const QString kOperatorNotRegistered = QStringLiteral("你输入的编号或名字还未注册，请先加入注册后使用。");

// The name left-aligned in the operator column.
QString operator_line(QString name);

// One line per operator in stored order, with the record behind each.
struct OperatorLines {
  QStringList lines;
  std::vector<store::RecordRef> records;
};

// The lines of use.dat; nullopt after "数据出错！[read_use]".
std::optional<OperatorLines> read_use(const startup::AppState& state);

enum class AddUseResult { Ignored, TooWide, Duplicate, Registered, Failed };

// Registers the trimmed text unless an operator of exactly that name exists.
AddUseResult add_use(const startup::AppState& state, const QString& text);

// Asks "真的要删除[name]吗?" and on Yes deletes exactly the record behind the chosen line,
// when it still holds what the list showed (otherwise the message for a record gone or
// changed). Returns true when the list was worked on (Yes and no failure).
bool del_use(const startup::AppState& state, const QString& name, const store::RecordRef& record);

enum class UseOperatorResult { Empty, TooWide, NotRegistered, Chosen, Failed };

// Makes the trimmed text the current operator when it is a registered operator: a line
// picked from the list leaves its padding behind, so its sale lines carry the name alone.
UseOperatorResult use_operator(startup::AppState& state, const QString& text);

}  // namespace tavuro::catalogues
