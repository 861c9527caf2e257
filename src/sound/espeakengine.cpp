#include "espeakengine.h"

#include "cuedecoder.h"

#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {
// The library holds one synthesiser for the whole process.
std::mutex s_lock;

struct Collected {
    std::vector<qint16> samples;
    std::vector<espeak_EVENT> words;
};

int collect(short *wav, int count, espeak_EVENT *events)
{
    if (!events)
        return 0;
    auto *into = static_cast<Collected *>(events->user_data);
    if (!into)
        return 0;
    if (wav && count > 0)
        into->samples.insert(into->samples.end(), wav, wav + count);
    for (espeak_EVENT *e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type == espeakEVENT_WORD)
            into->words.push_back(*e);
    }
    return 0;
}
}

struct EspeakEngine::Library {
    void *handle = nullptr;
    int rate = 22050;
    decltype(&espeak_Initialize) initialize = nullptr;
    decltype(&espeak_SetSynthCallback) setCallback = nullptr;
    decltype(&espeak_SetVoiceByName) setVoice = nullptr;
    decltype(&espeak_SetParameter) setParameter = nullptr;
    decltype(&espeak_Synth) synth = nullptr;
};

namespace {
// The library's synthesiser is one per process: opened once, kept to the end (unloading a
// library that started threads is unsafe, and a second start after a stop is not reliable).
EspeakEngine::Library *s_library = nullptr;
QString s_failure;
}

EspeakEngine::EspeakEngine() = default;
EspeakEngine::~EspeakEngine() = default;

bool EspeakEngine::load(QString *whyNot)
{
    std::lock_guard lock(s_lock);
    if (m_lib)
        return true;
    auto fail = [whyNot](const QString &reason) {
        s_failure = reason;
        if (whyNot)
            *whyNot = reason;
        return false;
    };
    if (s_library) {
        m_lib = s_library;
        return true;
    }
    if (!s_failure.isEmpty())
        return fail(s_failure);
    void *handle = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return fail(QStringLiteral("La synthèse vocale n'est pas installée (paquet libespeak-ng1)."));
    auto lib = std::make_unique<Library>();
    lib->handle = handle;
    auto symbol = [handle](auto &into, const char *name) {
        into = reinterpret_cast<std::remove_reference_t<decltype(into)>>(dlsym(handle, name));
        return into != nullptr;
    };
    if (!symbol(lib->initialize, "espeak_Initialize")
        || !symbol(lib->setCallback, "espeak_SetSynthCallback")
        || !symbol(lib->setVoice, "espeak_SetVoiceByName")
        || !symbol(lib->setParameter, "espeak_SetParameter")
        || !symbol(lib->synth, "espeak_Synth")) {
        return fail(QStringLiteral("La synthèse vocale installée est d'une autre version."));
    }
    const int rate = lib->initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr,
                                     espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0)
        return fail(QStringLiteral("Les données de la synthèse vocale manquent (paquet espeak-ng-data)."));
    lib->rate = rate;
    if (lib->setVoice("fr") != EE_OK)
        return fail(QStringLiteral("La voix française de la synthèse vocale manque (paquet espeak-ng-data)."));
    lib->setCallback(&collect);
    s_library = lib.release();
    m_lib = s_library;
    return true;
}

Speech EspeakEngine::synthesise(const QString &text, Rate rate)
{
    Speech speech;
    std::lock_guard lock(s_lock);
    if (!m_lib || text.trimmed().isEmpty())
        return speech;
    m_lib->setParameter(espeakRATE, wordsPerMinute(rate), 0);
    // Punctuation is not read out; the text is never taken as markup.
    m_lib->setParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
    Collected collected;
    const QByteArray utf8 = text.toUtf8();
    m_lib->synth(utf8.constData(), std::size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                 espeakCHARS_UTF8, nullptr, &collected);
    speech.audio = CueDecoder::resampled(collected.samples.data(),
                                         qsizetype(collected.samples.size()), m_lib->rate);

    // The synthesiser counts characters (code points) from 1; the text counts UTF-16 units.
    std::vector<int> unitOfCodePoint;
    for (int i = 0; i < text.size(); ++i) {
        unitOfCodePoint.push_back(i);
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            ++i;
    }
    unitOfCodePoint.push_back(int(text.size()));
    auto unit = [&](int codePoint) {
        return unitOfCodePoint[std::size_t(std::clamp(codePoint, 0, int(unitOfCodePoint.size()) - 1))];
    };
    // A word is what the pupil sees between two spaces: the voice may count "l'" and "école"
    // apart, the answer box shows "l'école" as one.
    for (const espeak_EVENT &e : collected.words) {
        int start = std::clamp(unit(e.text_position - 1), 0, int(text.size()));
        while (start > 0 && !text.at(start - 1).isSpace())
            --start;
        int end = start;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        if (end == start)
            continue;
        if (!speech.words.empty() && speech.words.back().start == start)
            continue;
        speech.words.push_back({start, end - start, e.audio_position});
    }
    return speech;
}
