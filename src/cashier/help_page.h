#pragma once
// The help page beside the program, and what the about window says about the program.

#include <QString>

namespace tavuro::cashier {

// The maker's web page, where new versions are published.
inline const QString kMakerPage = QStringLiteral("https://tavuro.example.org/cashier/");

// readme.htm in the application directory.
QString help_path(const QString& app_dir);

// "版本 " + major version + "." + revision: 版本 2.0.
QString about_version_text();

}  // namespace tavuro::cashier
