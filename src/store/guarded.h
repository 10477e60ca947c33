#pragma once
// The one boundary at which the program catches a failure of the record store: every
// procedure that works on a data file runs its work through it, so that a store failure
// ends that work with a message (or quietly where the caller has its own way of telling)
// and the program goes on. Only StoreError is caught: any other exception is a fault of
// the program, not of a file, and is not dressed up as a data message.

#include "platform/dialogs.h"
#include "store/store_error.h"

#include <QString>
#include <functional>

namespace tavuro::store {

// What a boundary does with the store failure that reached it.
using FailureReport = std::function<void(const StoreError&)>;

// A report that shows text in a message box with icon, whatever the failure was.
FailureReport show_message(const QString& text, platform::Icon icon = platform::Icon::None);

// The message naming the procedure: "数据出错！[" + procedure + "]" with the exclamation
// icon.
void report_store_failure(const QString& procedure);

// Runs work. A StoreError escaping it goes to report and gives false; otherwise true.
bool guarded(const FailureReport& report, const std::function<void()>& work);
// The same, reporting the failure with report_store_failure(procedure).
bool guarded(const QString& procedure, const std::function<void()>& work);
// The same without a message: a store failure only gives false.
bool guarded_quietly(const std::function<void()>& work);

// Runs work under with_recovery(file, backup) inside guarded(procedure). True when work
// ran to its end; false after the recovery gave up or a failure was reported.
bool recovered(const QString& procedure, const QString& file, const QString& backup, const std::function<void()>& work);

// The same for a file that may be missing: a missing file is left alone (no message,
// work not run, false).
bool work_on_file(const QString& procedure, const QString& file, const QString& backup,
                  const std::function<void()>& work);

}  // namespace tavuro::store
