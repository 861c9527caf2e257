#include "exerciserules.h"

#include "scenescale.h"

#include "common/sentencefile.h"
#include "common/settingsstore.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace ExerciseRules {

namespace {
const QChar Space = QLatin1Char(' ');
const QChar LineBreak = QChar(13);

// The limits' settings: the exercise falls back to "5" and "3" when they are absent.
double dureeMot(const SettingsStore &settings)
{
    return leadingNumber(settings.GetSetting(Settings::DureeMot, QStringLiteral("5")));
}

double dureePhrase(const SettingsStore &settings)
{
    return leadingNumber(settings.GetSetting(Settings::DureePhrase, QStringLiteral("3")));
}
}

QString playedSentence(const QString &sentence)
{
    const QString trimmed = SentenceFile::trimSpaces(sentence);
    if (!trimmed.contains(QStringLiteral("  ")))
        return trimmed;
    QString out;
    out.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        if (c == Space && !out.isEmpty() && out.back() == Space)
            continue;
        out.append(c);
    }
    return out;
}

QString candidate(const QString &answer, const QString &tileText)
{
    return SentenceFile::trimSpaces(answer + Space + SentenceFile::trimSpaces(tileText));
}

bool isCorrectBeginning(const QString &candidate, const QString &sentence)
{
    if (candidate.isEmpty())
        return true;
    const QString played = playedSentence(sentence);
    if (!played.startsWith(candidate))
        return false;
    return played.size() == candidate.size() || played[candidate.size()] == Space;
}

bool isComplete(const QString &answer, const QString &sentence)
{
    return SentenceFile::trimSpaces(answer) == playedSentence(sentence);
}

QString expectedNextWord(const QString &answer, const QString &sentence)
{
    const QString played = playedSentence(sentence);
    const QString done = SentenceFile::trimSpaces(answer);
    qsizetype start = 0;
    if (!done.isEmpty()) {
        if (!isCorrectBeginning(done, played) || done.size() >= played.size())
            return QString();
        start = done.size() + 1;
    }
    qsizetype end = played.indexOf(Space, start);
    if (end < 0)
        end = played.size();
    return played.mid(start, end - start);
}

QPointF tilePosition(double r1, double r2)
{
    const float x = static_cast<float>(r1) * 600.0f * 10.0f + 100.0f;
    const float y = static_cast<float>(r2) * 180.0f * 10.0f + 1700.0f;
    // Single precision can round a draw just below 1 up to the edge; keep the corner inside.
    return QPointF(std::min(double(x), std::nextafter(6100.0, 0.0)),
                   std::min(double(y), std::nextafter(3500.0, 0.0)));
}

QRectF sceneTwips()
{
    return QRectF(0, 0, SceneScale::DesignWidth, SceneScale::DesignHeight);
}

QPointF keepInScene(const QRectF &target, QPointF place)
{
    const QRectF scene = sceneTwips();
    auto clampAxis = [](double at, double low, double high) {
        return low <= high ? std::clamp(at, low, high) : at;
    };
    return QPointF(clampAxis(place.x(), scene.left() - target.left(),
                             scene.right() - target.right()),
                   clampAxis(place.y(), scene.top() - target.top(),
                             scene.bottom() - target.bottom()));
}

std::vector<int> readingOrder(const std::vector<QRectF> &rects)
{
    std::vector<int> byTop(rects.size());
    for (std::size_t i = 0; i < rects.size(); ++i)
        byTop[i] = int(i);
    auto rect = [&rects](int i) -> const QRectF & { return rects[std::size_t(i)]; };
    std::stable_sort(byTop.begin(), byTop.end(), [&](int a, int b) {
        return std::pair(rect(a).top(), rect(a).left()) < std::pair(rect(b).top(), rect(b).left());
    });
    std::vector<int> order;
    order.reserve(rects.size());
    std::vector<bool> placed(rects.size(), false);
    for (std::size_t first = 0; first < byTop.size(); ++first) {
        const int anchor = byTop[first];
        if (placed[std::size_t(anchor)])
            continue;
        std::vector<int> line;
        for (std::size_t j = first; j < byTop.size(); ++j) {
            const int i = byTop[j];
            if (placed[std::size_t(i)])
                continue;
            const double overlap = std::min(rect(anchor).bottom(), rect(i).bottom())
                                   - std::max(rect(anchor).top(), rect(i).top());
            const double half = std::min(rect(anchor).height(), rect(i).height()) / 2;
            if (i == anchor || overlap >= half) {
                line.push_back(i);
                placed[std::size_t(i)] = true;
            }
        }
        std::stable_sort(line.begin(), line.end(),
                         [&](int a, int b) { return rect(a).left() < rect(b).left(); });
        order.insert(order.end(), line.begin(), line.end());
    }
    return order;
}

namespace {
// One scatter of every tile; false when some tile found no free place (it keeps its last draw).
bool scatterOnce(const std::vector<QRectF> &targets, const std::function<double()> &draw,
                 std::vector<QPointF> &places)
{
    std::vector<QRectF> taken;
    places.clear();
    taken.reserve(targets.size());
    const double half = TileGap / 2;
    auto spotAt = [half](const QRectF &target, QPointF place) {
        return target.translated(place).adjusted(-half, -half, half, half);
    };
    auto isFree = [&taken](const QRectF &spot) {
        return std::none_of(taken.begin(), taken.end(),
                            [&spot](const QRectF &other) { return other.intersects(spot); });
    };
    bool allFree = true;
    for (const QRectF &target : targets) {
        QPointF place;
        bool free = false;
        for (int attempt = 0; attempt < ScatterTries && !free; ++attempt) {
            const double r1 = draw();
            const double r2 = draw();
            place = keepInScene(target, tilePosition(r1, r2));
            free = isFree(spotAt(target, place));
        }
        if (!free) {
            // Chance left only small gaps: the free place nearest to the last draw, on a grid
            // of 4 pixels over the scatter rectangle, when there is one.
            double best = -1;
            QPointF nearest;
            for (double y = 1700; y < 3500; y += 60) {
                for (double x = 100; x < 6100; x += 60) {
                    const QPointF candidate = keepInScene(target, QPointF(x, y));
                    const double distance = QLineF(candidate, place).length();
                    if ((best < 0 || distance < best) && isFree(spotAt(target, candidate))) {
                        best = distance;
                        nearest = candidate;
                    }
                }
            }
            if (best >= 0)
                place = nearest;
            else
                allFree = false;
        }
        places.push_back(place);
        taken.push_back(spotAt(target, place));
    }
    return allFree;
}
}

std::vector<QPointF> scatterTiles(const std::vector<QRectF> &targets,
                                  const std::function<double()> &draw)
{
    std::vector<QPointF> places;
    places.reserve(targets.size());
    for (int round = 0; round < ScatterRounds; ++round) {
        if (scatterOnce(targets, draw, places))
            break;
    }
    return places;
}

double wordLimitSeconds(const SettingsStore &settings)
{
    return (dureeMot(settings) + 1) * 30;
}

double sentenceLimitSeconds(const SettingsStore &settings)
{
    return (dureePhrase(settings) + 1) * 180;
}

double sentenceLimitMinutes(const SettingsStore &settings)
{
    return (dureePhrase(settings) + 1) * 3;
}

double sentencesPerExercise(const SettingsStore &settings)
{
    const double value = leadingNumber(settings.GetSetting(Settings::NbPhrases, QStringLiteral("5")));
    // A hand-edited negative value would give an exercise that never ends and a mark divided by
    // zero: such an exercise has one sentence.
    return std::max(1.0, (value + 1) * 5);
}

double note(int errors, double sentences)
{
    // E x E / (2N) rather than (E / 2N) x E: the same number, but exact whenever it is whole,
    // so that the floor never loses a point to rounding.
    const double e = errors;
    return 20 - std::floor(e * e / (2 * sentences));
}

QString number(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

namespace Bubbles {
Bubble bonjour() { return {500, 22, QStringLiteral("Bonjour!")}; }
Bubble bravo() { return {500, 22, QStringLiteral("Bravo !!!")}; }
Bubble incorrect() { return {-1, -1, QStringLiteral("Incorrect!")}; }
Bubble essaieEncore() { return {500, 22, QStringLiteral("Essaie encore!")}; }
Bubble continuer() { return {500, 22, QStringLiteral("Continue!")}; }
Bubble hint()
{
    return {350, 15, QStringLiteral("Regarde bien") + LineBreak + QStringLiteral("le mot en BLEU.")};
}
Bubble sentenceErrors(int errors)
{
    if (errors == 0)
        return {350, 18, QStringLiteral("Tu n'as fait") + LineBreak + QStringLiteral("aucune erreur!!!")};
    if (errors == 1)
        return {550, 18, QStringLiteral("Tu as fait une erreur.")};
    return {550, 18, QStringLiteral("Tu as fait ") + number(errors) + QStringLiteral(" erreurs.")};
}
Bubble note(double mark)
{
    if (mark > 0)
        return {500, 22, QStringLiteral("Ta note est ") + number(mark) + QStringLiteral("/20")};
    return {500, 22, QStringLiteral("Tu as ZERO!")};
}
Bubble timeUp()
{
    return {400, 15, QStringLiteral("Voici la phrase à trouver.") + LineBreak
                         + QStringLiteral("Clique sur NOUVEAU.")};
}
}

QString statusNext() { return QStringLiteral("Clique sur le bouton 'NOUVEAU' pour continuer."); }
QString statusQuit() { return QStringLiteral("Clique sur le bouton 'QUITTER' pour continuer."); }

QString statusNoSentence(SentenceLoad load, const QString &fileName)
{
    const QString file = QStringLiteral("Le fichier de phrases « ") + fileName + QStringLiteral(" »");
    switch (load) {
    case SentenceLoad::Missing:
        return file + QStringLiteral(" est introuvable.");
    case SentenceLoad::Unreadable:
        return file + QStringLiteral(" ne peut pas être lu.");
    case SentenceLoad::Empty:
        return file + QStringLiteral(" est vide.");
    case SentenceLoad::Loaded:
        break;
    }
    return file + QStringLiteral(" n'a aucune phrase à jouer (de 1 à 127 mots, "
                                 "chacun de 50 caractères au plus).");
}
}
