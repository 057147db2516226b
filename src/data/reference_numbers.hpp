#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace hw {

/// A set of reference numbers of one file (FRMR's low 24 bits), one bit
/// each: at most 2 MiB, for the highest number there is.
class ReferenceNumbers
{
public:
    /// The bits of FRMR that number a reference; the top byte says whose it is.
    static constexpr std::uint32_t kNumberBits = 0x00FFFFFF;

    /// `number` must be at most kNumberBits.
    bool contains(std::uint32_t number) const
    {
        const std::size_t word = number / 64;
        return word < m_bits.size() && (m_bits[word] >> (number % 64) & 1) != 0;
    }

    /// Adds `number` (at most kNumberBits); false when it was there already.
    bool add(std::uint32_t number)
    {
        const std::size_t word = number / 64;
        if (word >= m_bits.size())
            m_bits.resize(std::max(word + 1, 2 * m_bits.size()), 0);
        const std::uint64_t bit = std::uint64_t {1} << (number % 64);
        const bool added = (m_bits[word] & bit) == 0;
        m_bits[word] |= bit;
        return added;
    }

    /// Whether a number is in both sets.
    bool sharesANumberWith(const ReferenceNumbers &other) const
    {
        const std::size_t words = std::min(m_bits.size(), other.m_bits.size());
        for (std::size_t at = 0; at < words; ++at)
            if ((m_bits[at] & other.m_bits[at]) != 0)
                return true;
        return false;
    }

    /// Adds the numbers of `other`.
    void add(const ReferenceNumbers &other)
    {
        if (m_bits.size() < other.m_bits.size())
            m_bits.resize(other.m_bits.size(), 0);
        for (std::size_t at = 0; at < other.m_bits.size(); ++at)
            m_bits[at] |= other.m_bits[at];
    }

    void clear() { m_bits.clear(); }

private:
    std::vector<std::uint64_t> m_bits;
};

} // namespace hw
