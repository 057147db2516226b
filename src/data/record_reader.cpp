#include "data/record_reader.hpp"

#include "data/record_combiner.hpp"

#include "plugin/record_tags.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/script_record.hpp"
#include "plugin/subrecords.hpp"

#include <algorithm>
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

// Every other sink takes the references.
template<class Sink> bool takesReferences(const Sink &)
{
    return true;
}

bool takesReferences(const RecordCombiner &sink)
{
    return sink.takesReferences();
}

// Only the index keeps the ids of scripts: a few thousand short records.
template<class Sink> constexpr bool kTakesScripts = std::is_same_v<Sink, RecordCombiner>;

bool readForSink(const RecordHeader &header, bool scripts)
{
    return readForIds(header) || (scripts && header.tag == kScpt);
}

template<class Sink> class Reader
{
public:
    Reader(Sink &sink, CodePage page)
        : m_sink(sink)
        , m_texts(page)
    { }

    ScanFault read(const RecordHeader &header, std::string_view data, std::size_t &npcIds)
    {
        if (header.tag == kTes3)
            return masters(data);
        if (header.tag == kCell)
            return cell(data);
        if constexpr (kTakesScripts<Sink>) {
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
    ScanFault cell(std::string_view data)
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
};

// One reading for every sink; the index's own is named as it is, so that its
// calls for the hundreds of thousands of references are made directly.
template<class Sink>
std::optional<ScanOutcome> readInto(ByteSource &source, Sink &sink, CodePage page,
                                    const ReadHooks &hooks, std::size_t bufferSize)
{
    RecordWalk records(source, bufferSize);
    Reader<Sink> reader(sink, page);
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
        if (!readForSink(header, kTakesScripts<Sink>))
            continue;
        const auto data = records.data();
        if (!data)
            break;
        const auto fault = reader.read(header, *data, records.outcome().idCount);
        if (fault != ScanFault::None) {
            records.fail(fault);
            break;
        }
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

} // namespace hw
