#include "data/record_reader.hpp"

#include "data/record_combiner.hpp"

#include "plugin/record_tags.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/script_record.hpp"
#include "plugin/subrecords.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <system_error>
#include <thread>
#include <type_traits>

namespace hw {

namespace {

constexpr std::uint32_t kTes3 = fourCC("TES3");
constexpr std::uint32_t kCell = fourCC("CELL");
constexpr std::uint32_t kScpt = fourCC("SCPT");
constexpr std::uint32_t kMast = fourCC("MAST");
constexpr std::uint32_t kName = fourCC("NAME");
constexpr std::uint32_t kDele = fourCC("DELE");
constexpr std::uint32_t kData = fourCC("DATA");
constexpr std::uint32_t kRgnn = fourCC("RGNN");
constexpr std::uint32_t kFrmr = fourCC("FRMR");
constexpr std::uint32_t kMvrf = fourCC("MVRF");
constexpr std::uint32_t kCndt = fourCC("CNDT");
constexpr std::uint32_t kCnam = fourCC("CNAM");

constexpr std::uint64_t kHookInterval = 1 << 20;
constexpr std::size_t kPrefetchDistance = 2048;

// The cells handed to the second thread go over in batches of about this
// many bytes of references, so that it is seldom woken.
constexpr std::size_t kBatchBytes = 64 << 10;
// While it waits for the second thread, the reader walks half of the cells
// left itself, where at least this many are left.
constexpr std::size_t kFewestToTake = 64;

// A number from a sub-record that may be shorter than it should be: the
// missing bytes read as 0, as a record the game's editor wrote never needs.
std::int32_t numberAt(std::string_view data, std::size_t at)
{
    if (at + 4 <= data.size())
        return static_cast<std::int32_t>(loadLe32(data.data() + at));
    char bytes[4] = {};
    if (at < data.size())
        std::copy_n(data.data() + at, data.size() - at, bytes);
    return static_cast<std::int32_t>(loadLe32(bytes));
}

// The texts of sub-records in UTF-8: ids are nearly always ASCII, which
// needs no copy.
class Texts
{
public:
    explicit Texts(CodePage page)
        : m_page(page)
    { }

    std::string_view text(std::string_view data, std::size_t slot)
    {
        bool ascii = true;
        const auto raw = untilNul(data, ascii);
        return ascii ? raw : std::string_view(m_scratch[slot] = toUtf8(raw, m_page));
    }

private:
    CodePage m_page;
    std::string m_scratch[2];
};

// The references of a CELL record, gathered sub-record by sub-record.
template<class Sink> class ReferenceWalk
{
public:
    ReferenceWalk(Sink &sink, Texts &texts)
        : m_sink(sink)
        , m_texts(texts)
    { }

    void take(std::uint32_t tag, std::string_view data)
    {
        // Every reference has its FRMR, NAME and DATA; the other tags are
        // rare, and most cells hold hundreds of references.
        if (tag == kName) {
            if (m_open && !m_named) {
                m_ref.object = m_texts.text(data, 0);
                m_named = true;
            }
            return;
        }
        if (tag == kFrmr) {
            flush();
            m_open = true;
            m_named = false;
            m_ref.refNum = static_cast<std::uint32_t>(numberAt(data, 0));
            m_ref.object = {};
            m_ref.deleted = false;
            // Only a reference after MVRF has moved (its target, if any, set).
            if (m_moving) {
                m_ref.movedTo = m_target;
                m_target.reset();
                m_moving = false;
            } else {
                m_ref.movedTo.reset();
            }
            return;
        }
        if (tag == kData)
            return;
        switch (tag) {
        case kDele:
            m_ref.deleted = m_ref.deleted || m_open;
            break;
        case kMvrf:
            flush();
            m_moving = true;
            break;
        case kCndt:
            if (!m_open && m_moving)
                m_target = CellPlace {{}, numberAt(data, 0), numberAt(data, 4), false};
            break;
        case kCnam:
            if (!m_open && m_moving)
                m_target = CellPlace {m_texts.text(data, 1), 0, 0, true};
            break;
        default:
            break;
        }
    }

    void flush()
    {
        if (m_open)
            m_sink.reference(m_ref);
        m_open = false;
    }

private:
    Sink &m_sink;
    Texts &m_texts;
    CellReference m_ref;
    std::optional<CellPlace> m_target;
    bool m_open = false;
    bool m_named = false;
    bool m_moving = false;
};

// Where the references of a CELL record lie in the file, and the cell's entry.
struct CellJob
{
    std::uint64_t offset = 0;
    std::size_t length = 0;
    std::uint32_t cell = 0;
};

// The references of one cell that may change the index, their ids in `texts`.
struct CellFindings
{
    struct Found
    {
        std::uint32_t refNum;
        std::uint32_t textOffset;
        std::uint32_t textLength;
        bool deleted;
    };
    std::uint32_t cell = 0;
    std::vector<Found> found;
    std::string texts;
};

// Keeps, of the references the walk gives, every one that may change the
// index (RecordCombiner::reference): one whose top byte names a master (or
// is a faulty number of the file's own), one whose number came before in
// the file (it replaces the earlier reference), and one that is not deleted
// and names an actor. Any other is a new reference of the file's own that
// places no actor, and changes nothing. A moved reference is not kept but
// told: its cell joins the index at a point only the one-thread read keeps.
class Gatherer
{
public:
    explicit Gatherer(const ActorSet &actors)
        : m_actors(actors)
    { }

    void start(CellFindings &findings) { m_findings = &findings; }
    bool moved() const { return m_moved; }

    // The reference numbers (low 24 bits) given so far.
    ReferenceNumbers &numbers() { return m_numbers; }

    void reference(const CellReference &reference)
    {
        if (reference.movedTo) {
            m_moved = true;
            return;
        }
        const std::uint32_t number = reference.refNum;
        const bool repeated = !m_numbers.add(number & ReferenceNumbers::kNumberBits);
        if ((number >> 24) == 0 && !repeated &&
            (reference.deleted || !m_actors.holdsKey(reference.object)))
            return;
        auto &texts = m_findings->texts;
        m_findings->found.push_back({number, static_cast<std::uint32_t>(texts.size()),
                                     static_cast<std::uint32_t>(reference.object.size()),
                                     reference.deleted});
        texts += reference.object;
    }

private:
    const ActorSet &m_actors;
    CellFindings *m_findings = nullptr;
    ReferenceNumbers m_numbers;
    bool m_moved = false;
};

// Walks the references of CELL records on a second thread, reading the file
// through a source of its own, while the reader goes on with the records
// after them; what it finds is applied to the index in file order. Applied
// later than the one-thread read would, a reference changes the index in the
// same way as long as no NPC or creature came or went in between, so the
// reader settles (waits for the walk and applies all it found) before each
// record of an actor, and at the end. While it waits, the reader walks the
// later half of the cells not yet taken itself. A walk fails on what only the
// one-thread read takes exactly: a moved reference, a cell whose sub-records
// run past it, bytes that changed under a source, or a reference number that
// the reader's cells and the second thread's both gave.
class CellWalker
{
public:
    CellWalker(std::unique_ptr<ByteSource> second, std::unique_ptr<ByteSource> own,
               RecordCombiner &sink, CodePage page)
        : m_sink(sink)
        , m_own(std::move(own))
        , m_ownTexts(page)
        , m_second(std::move(second))
        , m_gatherer(sink.actors())
        , m_texts(page)
        , m_thread([this] { run(); })
    { }

    ~CellWalker()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

    CellWalker(const CellWalker &) = delete;
    CellWalker &operator=(const CellWalker &) = delete;

    void add(const CellJob &job)
    {
        m_batch.push_back(job);
        m_batchBytes += job.length;
        if (m_batchBytes >= kBatchBytes)
            handOver();
    }

    // A record of `tag` may add an actor or change whether one is live.
    static bool needsSettling(std::uint32_t tag)
    {
        const auto kind = kindOfTag(tag);
        return kind == RecordKind::Npc || kind == RecordKind::Creature;
    }

    // Waits for the walk of every cell added and applies what it found;
    // false when the walk failed.
    bool settle()
    {
        if (!m_handedSinceSettled && m_batch.empty())
            return !failed();
        m_handedSinceSettled = false;
        handOver();
        std::vector<CellJob> taken;
        {
            std::lock_guard lock(m_mutex);
            const std::size_t left = m_jobs.size() - m_next;
            const std::size_t take = left >= kFewestToTake ? left / 2 : 0;
            taken.assign(m_jobs.end() - static_cast<std::ptrdiff_t>(take), m_jobs.end());
            m_jobs.resize(m_jobs.size() - taken.size());
        }
        Gatherer gatherer(m_sink.actors());
        std::vector<CellFindings> own;
        bool fine = true;
        for (std::size_t at = 0; fine && at < taken.size(); ++at)
            fine = walk(*m_own, gatherer, m_ownTexts, taken[at], own.emplace_back());
        std::vector<CellFindings> found;
        {
            std::unique_lock lock(m_mutex);
            m_idle.wait(lock, [&] { return m_next == m_jobs.size() && m_walking == 0; });
            found.swap(m_found);
        }
        // The second thread waits for jobs now: its gatherer is free to use.
        if (!fine || gatherer.numbers().sharesANumberWith(m_gatherer.numbers()))
            m_failed.store(true, std::memory_order_relaxed);
        m_gatherer.numbers().add(gatherer.numbers());
        apply(found);
        apply(own);
        return !failed();
    }

    bool failed() const { return m_failed.load(std::memory_order_relaxed); }

private:
    // Hands the batch to the second thread and applies what it found so far.
    void handOver()
    {
        std::vector<CellFindings> found;
        {
            std::lock_guard lock(m_mutex);
            m_jobs.insert(m_jobs.end(), m_batch.begin(), m_batch.end());
            found.swap(m_found);
        }
        if (!m_batch.empty()) {
            m_wake.notify_one();
            m_handedSinceSettled = true;
        }
        m_batch.clear();
        m_batchBytes = 0;
        apply(found);
    }

    void apply(const std::vector<CellFindings> &found)
    {
        for (const auto &cell : found) {
            const std::string_view texts = cell.texts;
            for (const auto &f : cell.found)
                m_sink.referenceIn(
                    cell.cell,
                    {f.refNum, texts.substr(f.textOffset, f.textLength), f.deleted, std::nullopt});
        }
    }

    // The second thread: takes a few cells at a time, in file order.
    void run()
    {
        constexpr std::size_t kTake = 8;
        std::vector<CellJob> jobs;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_walking = 0;
                m_idle.notify_one();
                m_wake.wait(lock, [&] { return m_stop || m_next < m_jobs.size(); });
                if (m_stop)
                    return;
                const std::size_t count = std::min(kTake, m_jobs.size() - m_next);
                jobs.assign(m_jobs.begin() + static_cast<std::ptrdiff_t>(m_next),
                            m_jobs.begin() + static_cast<std::ptrdiff_t>(m_next + count));
                m_next += count;
                m_walking = count;
            }
            std::vector<CellFindings> found;
            bool fine = !failed();
            try {
                for (std::size_t at = 0; fine && at < jobs.size(); ++at)
                    fine = walk(*m_second, m_gatherer, m_texts, jobs[at], found.emplace_back());
            } catch (...) {
                // Out of memory: the one-thread read gives the reason.
                fine = false;
            }
            std::lock_guard lock(m_mutex);
            std::move(found.begin(), found.end(), std::back_inserter(m_found));
            if (!fine)
                m_failed.store(true, std::memory_order_relaxed);
        }
    }

    // The one-thread read's walk (Reader::cell), giving the references to
    // `gatherer`.
    static bool walk(ByteSource &source, Gatherer &gatherer, Texts &texts, const CellJob &job,
                     CellFindings &findings)
    {
        findings.cell = job.cell;
        const auto bytes = source.view(job.offset, job.length);
        if (!bytes || bytes->size() < job.length)
            return false;
        gatherer.start(findings);
        Subrecords sub(bytes->substr(0, job.length));
        ReferenceWalk<Gatherer> references(gatherer, texts);
        for (bool more = sub.next(); more; more = sub.next()) {
            prefetchAhead(sub.data().data(), kPrefetchDistance);
            references.take(sub.tag(), sub.data());
        }
        references.flush();
        return !sub.broken() && !gatherer.moved() && !source.changed();
    }

    // Used by the reader's thread only.
    RecordCombiner &m_sink;
    std::unique_ptr<ByteSource> m_own;
    Texts m_ownTexts;
    std::vector<CellJob> m_batch;
    std::size_t m_batchBytes = 0;
    bool m_handedSinceSettled = false; ///< cells went to the second thread since it settled
    // Used by the second thread, and by the reader's only while it waits;
    // on a cache line of their own, which the reader's writes leave alone.
    alignas(64) std::unique_ptr<ByteSource> m_second;
    Gatherer m_gatherer;
    Texts m_texts;
    // Shared, under m_mutex.
    alignas(64) std::mutex m_mutex;
    std::condition_variable m_wake; ///< jobs came, or the walk is to stop
    std::condition_variable m_idle; ///< the second thread waits for jobs
    std::vector<CellJob> m_jobs;
    std::size_t m_next = 0; ///< the first job not taken by the second thread
    std::size_t m_walking = 0; ///< jobs it is walking now
    std::vector<CellFindings> m_found;
    bool m_stop = false;
    std::atomic<bool> m_failed {false};
    std::thread m_thread; ///< last: it starts once everything else is made
};

// Every other sink takes the references.
template<class Sink> bool takesReferences(const Sink &)
{
    return true;
}

bool takesReferences(const RecordCombiner &sink)
{
    return sink.takesReferences();
}

// The index's own sink: only it keeps the ids of scripts (a few thousand
// short records), and only its cells may be walked on a second thread.
template<class Sink> constexpr bool kIsIndex = std::is_same_v<Sink, RecordCombiner>;

bool readForSink(const RecordHeader &header, bool scripts)
{
    return readForIds(header) || (scripts && header.tag == kScpt);
}

template<class Sink> class Reader
{
public:
    Reader(Sink &sink, CodePage page, CellWalker *walker)
        : m_sink(sink)
        , m_texts(page)
        , m_walker(walker)
    { }

    ScanFault read(const RecordHeader &header, std::string_view data, std::size_t &npcIds)
    {
        if (header.tag == kTes3)
            return masters(data);
        if (header.tag == kCell)
            return cell(data, header.offset + 16);
        if constexpr (kIsIndex<Sink>) {
            if (header.tag == kScpt) {
                // A script record that cannot be read names no script; the
                // file's verdict stays what the readers of ids give it.
                if (const auto script = readScriptRecord(data))
                    m_sink.script(m_texts.text(script->name, 0));
                return ScanFault::None;
            }
        }
        const IdFields fields = readIdFields(data);
        if (fields.fault != ScanFault::None)
            return fields.fault;
        IdRecord record;
        record.kind = *kindOfTag(header.tag);
        record.flags = header.flags;
        record.id = m_texts.text(fields.name, 0);
        record.deleted = fields.deleted;
        record.shown =
            record.kind == RecordKind::Region ? m_texts.text(fields.fullName, 1) : record.id;
        if (record.kind == RecordKind::Npc && !record.deleted && !record.id.empty())
            ++npcIds;
        m_sink.record(record);
        return ScanFault::None;
    }

private:
    ScanFault masters(std::string_view data)
    {
        std::vector<MasterFile> masters;
        Subrecords sub(data);
        while (sub.next()) {
            if (sub.tag() == kMast)
                masters.push_back({std::string(m_texts.text(sub.data(), 0)), 0});
            else if (sub.tag() == kData && sub.data().size() >= 8 && !masters.empty())
                masters.back().size = loadLe64(sub.data().data());
        }
        if (sub.broken())
            return ScanFault::SubrecordCutShort;
        m_sink.masters(masters);
        return ScanFault::None;
    }

    // Only the sub-records before the first reference belong to the cell
    // itself: a DELE after an FRMR deletes that reference, not the cell.
    // `at`: where the data lies in the file.
    ScanFault cell(std::string_view data, std::uint64_t at)
    {
        CellRecord cell;
        bool named = false;
        bool hasData = false;
        Subrecords sub(data);
        bool more = sub.next();
        for (; more && sub.tag() != kFrmr && sub.tag() != kMvrf; more = sub.next()) {
            if (sub.tag() == kName && !named) {
                cell.place.name = m_texts.text(sub.data(), 0);
                named = true;
            } else if (sub.tag() == kData) {
                hasData = true;
                cell.place.interior = (numberAt(sub.data(), 0) & 1) != 0;
                cell.place.x = numberAt(sub.data(), 4);
                cell.place.y = numberAt(sub.data(), 8);
            } else if (sub.tag() == kRgnn) {
                cell.region = m_texts.text(sub.data(), 1);
            } else if (sub.tag() == kDele) {
                cell.deleted = true;
            }
        }
        // A cell without DATA has no grid to stand at; the game refuses it.
        // Taking it as the interior its name says keeps it apart from (0, 0).
        if (!hasData)
            cell.place.interior = true;
        if (sub.broken())
            return ScanFault::SubrecordCutShort;
        m_sink.cell(cell);
        if constexpr (kIsIndex<Sink>) {
            if (m_walker != nullptr && more) {
                const char *first = sub.data().data() - 8;
                m_walker->add({at + static_cast<std::uint64_t>(first - data.data()),
                               static_cast<std::size_t>(data.data() + data.size() - first),
                               m_sink.currentCell()});
                return ScanFault::None;
            }
        }
        if (!takesReferences(m_sink)) {
            // The sub-records are still walked to the end: a file gets one
            // verdict, whoever reads it.
            return !more || sub.passOverRest() ? ScanFault::None : ScanFault::SubrecordCutShort;
        }
        ReferenceWalk<Sink> references(m_sink, m_texts);
        for (; more; more = sub.next()) {
            // A cell's references run to hundreds of KiB read once from
            // start to end; the lines ahead are asked for in time.
            prefetchAhead(sub.data().data(), kPrefetchDistance);
            references.take(sub.tag(), sub.data());
        }
        references.flush();
        return sub.broken() ? ScanFault::SubrecordCutShort : ScanFault::None;
    }

    Sink &m_sink;
    Texts m_texts;
    CellWalker *m_walker; ///< walks the references of cells, where set
};

// One reading for every sink; the index's own is named as it is, so that its
// calls for the hundreds of thousands of references are made directly.
template<class Sink>
std::optional<ScanOutcome> readInto(ByteSource &source, Sink &sink, CodePage page,
                                    const ReadHooks &hooks, std::size_t bufferSize,
                                    CellWalker *walker = nullptr)
{
    RecordWalk records(source, bufferSize);
    Reader<Sink> reader(sink, page, walker);
    std::uint64_t nextHook = 0;
    while (records.next()) {
        const auto &header = records.header();
        if (header.offset >= nextHook) {
            if (hooks.cancelled && hooks.cancelled())
                return std::nullopt;
            if (hooks.progress)
                hooks.progress(header.offset);
            nextHook = header.offset + kHookInterval;
        }
        if (!readForSink(header, kIsIndex<Sink>))
            continue;
        if (walker != nullptr && CellWalker::needsSettling(header.tag) && !walker->settle())
            break;
        const auto data = records.data();
        if (!data)
            break;
        const auto fault = reader.read(header, *data, records.outcome().idCount);
        if (fault != ScanFault::None) {
            records.fail(fault);
            break;
        }
        if (walker != nullptr && walker->failed())
            break;
    }
    if (hooks.progress)
        hooks.progress(source.size());
    return records.outcome();
}

} // namespace

std::optional<ScanOutcome> readRecords(ByteSource &source, RecordSink &sink, CodePage page,
                                       const ReadHooks &hooks, std::size_t bufferSize)
{
    return readInto(source, sink, page, hooks, bufferSize);
}

std::optional<ScanOutcome> readRecords(ByteSource &source, RecordCombiner &sink, CodePage page,
                                       const ReadHooks &hooks, std::size_t bufferSize)
{
    return readInto(source, sink, page, hooks, bufferSize);
}

SplitRead readRecordsSplit(ByteSource &source, RecordCombiner &sink, CodePage page,
                           const ReadHooks &hooks)
{
    auto second = source.another();
    auto own = source.another();
    if (!second || !own)
        return {std::nullopt, true};
    std::optional<CellWalker> walker;
    try {
        walker.emplace(std::move(second), std::move(own), sink, page);
    } catch (const std::system_error &) {
        // No thread to be had: nothing was read yet.
        return {std::nullopt, true};
    }
    const auto outcome =
        readInto(source, sink, page, hooks, RecordWalk::kDefaultBufferSize, &*walker);
    if (!outcome)
        return {std::nullopt, false};
    if (!walker->settle())
        return {std::nullopt, true};
    return {outcome, false};
}

} // namespace hw
