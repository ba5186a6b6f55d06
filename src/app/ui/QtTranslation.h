// Qt's own texts (file dialogs, standard buttons, edit menus) in Russian, like the program's.
#pragma once

namespace tesmira::ui {

// Installs Qt's Russian translation of its base module in the running application, whatever the
// user's locale. False when the translation is not installed on this machine: Qt then keeps its
// English texts, and the program works as before.
bool InstallQtTranslation();

} // namespace tesmira::ui
