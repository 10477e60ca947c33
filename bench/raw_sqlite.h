#pragma once
// The baselines: the same work done with the SQLite C API directly, without the program's
// record store, checks, recovery or atomic copies.

#include <QString>
#include <QStringList>
#include <functional>

namespace tavuro::bench::raw {

// open + insert one sale line + commit (synchronous=FULL) + close, then copy the file
// over backup (write and fsync).
void record_line(const QString& day_file, const QString& backup, const QStringList& values);

// Runs sql with the bound texts over one file and hands each row's texts to visit.
void select(const QString& file, const QString& sql, const QStringList& binds,
            const std::function<void(const QStringList& row)>& visit);

}  // namespace tavuro::bench::raw
