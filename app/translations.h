#pragma once
class QCoreApplication;

namespace app {

// Loads Qt's own Chinese translation (the standard buttons 是(Y), 否(N), 取消 ...).
// False when the translation is not installed (package qt6-translations-l10n).
bool installTranslations(QCoreApplication& app);

}  // namespace app
