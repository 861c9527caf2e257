#pragma once

class QCoreApplication;

// Qt's own dialogs and buttons in French ("Oui", "Non", "Annuler", "Ouvrir"): Qt's translation
// file, completed with the few texts it lacks in this Qt version. The translators belong to
// `app`. Returns false when Qt's French translation is not installed.
bool installFrenchQtTranslations(QCoreApplication &app);
