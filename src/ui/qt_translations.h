#pragma once
// Qt's own texts in Japanese: the buttons, columns and labels of the open-file dialog, the
// text boxes' right-click menu and the message boxes' buttons. The window's own texts are
// Japanese already; without this the texts that Qt supplies stay English.

class QCoreApplication;

namespace morvik {

// Installs Qt's Japanese translation (qtbase_ja), found in Qt's own translation folder, on
// `app`, and makes Japanese the default locale, in which Qt names file types. Returns false
// when the translation is not there: the window then works with Qt's English texts.
bool InstallQtJapanese(QCoreApplication& app);

}  // namespace morvik
