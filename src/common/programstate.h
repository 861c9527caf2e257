#pragma once
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

// The program-wide values shared by several windows, one instance for the whole run.
struct ProgramState {
    static constexpr int SentenceSlots = 129; // sentences of a file held by the exercise
    static constexpr int WordSlots = 129;     // words of a sentence, plus the blank last entry
    static constexpr int TileCount = 128;     // word tiles of the exercise window

    // Mark from which the journal measures its next timed line; invalid until the first one.
    QDateTime HeureProgress;

    std::array<QString, SentenceSlots> Phrases;
    int NbPhrasesChargees = 0;
    std::array<QString, WordSlots> ListeMots;
    qint16 NbMots = 0;

    int PhraseCourante = 0;
    int MotSuivant = 0;
    int ErreursPhrase = 0;
    int TotalErreurs = 0;
    double PhrasesRestantes = 0;
    double NbPhrasesExercice = 0;
    double DecalageX = 0;
    qint16 DecalageY = 0;

    void reset() { *this = ProgramState(); }
};
