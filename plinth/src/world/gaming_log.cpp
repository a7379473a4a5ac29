// Sandbox answers for the character fetch and for log sending.
#include <algorithm>
#include <cwchar>
#include <iterator>
#include <mutex>

#include "platform/core.hpp"
#include "world/profile.hpp"
#include "platform/text.hpp"

namespace plinth {
namespace {

constexpr uint32_t kOperation = 80;

using LogRecord = Tessel::PCSDK::Log::TesselPCLogSendParamCpp;
using LogText = std::optional<std::wstring> LogRecord::*;

// The texts of a log record in the order they are stored.
constexpr LogText kLogTexts[] = {
    &LogRecord::mktType1,   &LogRecord::mktId1, &LogRecord::mktType2,    &LogRecord::mktId2,
    &LogRecord::gameVersion, &LogRecord::logGroupId, &LogRecord::serverCd, &LogRecord::serverCdDet,
    &LogRecord::lvCd,       &LogRecord::lvCdDet, &LogRecord::sessionId,  &LogRecord::contents,
};
constexpr std::size_t kLogTextCount = sizeof kLogTexts / sizeof kLogTexts[0];

// The sent logs as the sandbox keeps them: the texts of every log one after
// the other in one growing buffer, each ended by a null character; a log
// notes where its texts start and which were given (a null text takes no
// room). Clearing keeps the buffers' room for the logs that follow.
struct StoredLog {
    int64_t auid = 0;
    int64_t cuid = 0;
    uint32_t present = 0;  // bit i: text i of kLogTexts was given
    std::size_t start = 0;
};

struct LogStore {
    std::mutex mutex;
    std::vector<StoredLog> logs;
    std::vector<wchar_t> texts;

    LogRecord Record(const StoredLog& stored) const
    {
        LogRecord log;
        log.auid = stored.auid;
        log.cuid = stored.cuid;
        const wchar_t* text = texts.data() + stored.start;
        for (std::size_t i = 0; i < kLogTextCount; ++i) {
            if ((stored.present & (1u << i)) != 0) {
                log.*kLogTexts[i] = std::wstring(text);
                text += std::wcslen(text) + 1;
            }
        }
        return log;
    }
};

LogStore& Logs()
{
    static LogStore store;
    return store;
}

void ClearLogs()
{
    std::lock_guard<std::mutex> lock(Logs().mutex);
    Logs().logs.clear();
    Logs().texts.clear();
}

const FeatureReset kResetLogs{&ClearLogs};

// Answers a request with success and, when given, a data object, once the game pumps.
// The completion owns the data object (and so its text) and borrows the
// message.
template <class Data>
void Answer(const Sandbox::RequestRecord& request, const wchar_t* message, std::optional<Data> data)
{
    auto trampoline = request.As<Base::Trampoline>();
    if (trampoline == nullptr) {
        return;
    }
    void* context = request.context;
    AnswerOutcome outcome = OutcomeOf(TESSEL_RESULT_SUCCESS, message);
    if (OutcomeFails()) {
        data.reset();
    }
    const AnswerNote note{outcome.code};
    PostCompletion(
        [trampoline, context, outcome = std::move(outcome), data = std::move(data)]() mutable {
            BorrowedResult result(context, kOperation, outcome.code, outcome.Message());
            trampoline(&result, data ? &*data : nullptr);
        },
        note);
}

// The parameter object's texts are read where they are: it lives until the
// request call returns.
void FetchCharacter(const Sandbox::RequestRecord& request)
{
    std::wstring_view characterId = L"unknown";
    std::wstring_view serverId = L"unknown";
    if (auto* param = static_cast<Base::ICharacterFetchParam*>(request.param)) {
        characterId = ViewOrEmpty(param->GetCharacterId());
        serverId = ViewOrEmpty(param->GetServerId());
    }
    const std::shared_ptr<const World> world = CurrentWorld();
    auto own = world->characterTexts.find(characterId);
    std::wstring text = ExpandText(own != world->characterTexts.end() ? own->second : world->characterText,
                                   {{L"characterId", characterId}, {L"serverId", serverId}}, Insert::JsonString);
    Answer(request, L"Character fetched.", std::optional<Sandbox::CharacterData>(std::in_place, std::move(text)));
}

void SendLog(const Sandbox::RequestRecord& request)
{
    if (!OutcomeFails()) {
        StoredLog log;
        const wchar_t* texts[kLogTextCount] = {};
        if (auto* p = static_cast<Base::ILogSendParam*>(request.param)) {
            log.auid = p->GetAuid();
            log.cuid = p->GetCuid();
            const wchar_t* const given[] = {
                p->GetMktType1(),    p->GetMktId1(),     p->GetMktType2(), p->GetMktId2(),
                p->GetGameVersion(), p->GetLogGroupId(), p->GetServerCd(), p->GetServerCdDet(),
                p->GetLvCd(),        p->GetLvCdDet(),    p->GetSessionId(), p->GetContents(),
            };
            static_assert(sizeof given / sizeof given[0] == kLogTextCount, "in the order of kLogTexts");
            std::copy(std::begin(given), std::end(given), texts);
        }
        for (std::size_t i = 0; i < kLogTextCount; ++i) {
            log.present |= texts[i] != nullptr ? 1u << i : 0u;
        }
        LogStore& store = Logs();
        std::lock_guard<std::mutex> lock(store.mutex);
        log.start = store.texts.size();
        // Listed first, so that a failure to keep its texts takes the log
        // out again: a log is kept whole or not at all.
        store.logs.push_back(log);
        try {
            for (const wchar_t* text : texts) {
                if (text != nullptr) {
                    store.texts.insert(store.texts.end(), text, text + std::wcslen(text) + 1);
                }
            }
        } catch (...) {
            store.logs.pop_back();
            store.texts.resize(log.start);
            throw;
        }
    }
    Answer<Sandbox::CharacterData>(request, L"Log record delivered.", std::nullopt);
}

}  // namespace
}  // namespace plinth

using namespace plinth;

void Tessel_Internal_GamingServices_FetchCharacter(Base::IParam* param, Base::Trampoline trampoline,
                                                   void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchCharacter,
                  {TESSEL_SANDBOX_MODULE_LUDEX, kOperation, Shape::Data});
}

void Tessel_SendLog(Base::IParam* param, Base::Trampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &SendLog,
                  {TESSEL_SANDBOX_MODULE_SCRIVO, kOperation, Shape::Data});
}

namespace Tessel::PCSDK::Sandbox {

std::vector<Log::TesselPCLogSendParamCpp> SentLogs()
{
    std::lock_guard<std::mutex> lock(Logs().mutex);
    std::vector<Log::TesselPCLogSendParamCpp> logs;
    logs.reserve(Logs().logs.size());
    for (const StoredLog& log : Logs().logs) {
        logs.push_back(Logs().Record(log));
    }
    return logs;
}

void ClearSentLogs() { ClearLogs(); }

}  // namespace Tessel::PCSDK::Sandbox
