// A long record's leads held once: every view of a lead is given the samples
// the document keeps rather than a copy, and what a view holds stays as it
// was when the document lets its own samples go (a setting changed, the file
// opened again).
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"

namespace {

using morvelance::MferKind;

std::vector<short> Copy(const SharedSamples& shared)
{
    return std::vector<short>(shared.samples.get(), shared.samples.get() + shared.count);
}

// The lead as the copying read gives it.
std::vector<short> Read(CTavrionDoc& doc, int lead)
{
    std::vector<short> samples(static_cast<size_t>(doc.GetRhythmWaveData(lead, nullptr, -1) / 2));
    EXPECT_EQ(static_cast<int>(samples.size() * 2), doc.GetRhythmWaveData(lead, samples.data(), -1));
    return samples;
}

// Lead 1 as a view is given it, twice: the samples the copying read gives,
// and the same memory both times.
SharedSamples ExpectLeadOneSharedAsRead(CTavrionDoc& doc)
{
    const SharedSamples first = doc.GetWholeRhythmWave(1);
    EXPECT_TRUE(first);
    if (!first) return first;
    EXPECT_EQ(Read(doc, 1), Copy(first));
    EXPECT_EQ(first.samples.get(), doc.GetWholeRhythmWave(1).samples.get());
    return first;
}

using SharedMferLeads = mfertest::MferDocTest;
using SharedRhythmLeads = rhythmtest::RhythmDocTest;

TEST_F(SharedMferLeads, ViewsOfALeadShareOneCopyThatOutlivesTheFileOpenedAgain)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 3, 0x8003, 3);
    ASSERT_NE(nullptr, item);
    m_doc->SetDelBitNoise(0);
    const SharedSamples first = ExpectLeadOneSharedAsRead(*m_doc);
    ASSERT_TRUE(first);
    const std::vector<short> samples = Copy(first);
    EXPECT_NE(first.samples.get(), m_doc->GetWholeRhythmWave(2).samples.get());

    // The bit-noise setting gives other samples, shared as well.
    m_doc->SetDelBitNoise(1);
    const SharedSamples filtered = m_doc->GetWholeRhythmWave(1);
    EXPECT_NE(Copy(filtered), samples);
    EXPECT_EQ(Read(*m_doc, 1), Copy(filtered));
    m_doc->SetDelBitNoise(0);

    // Another file in its place: the document lets the old samples go, the
    // view still has them until it loads again.
    const std::string path = testsupport::Utf8(item->strFilePath);
    ASSERT_EQ(0, std::rename(WriteMfer("other.mwf", MferKind::Plain, 3, 3.0).c_str(), path.c_str()));
    ASSERT_EQ(0, Open(item));
    const SharedSamples other = m_doc->GetWholeRhythmWave(1);
    ASSERT_TRUE(other);
    EXPECT_EQ(Read(*m_doc, 1), Copy(other));
    EXPECT_NE(Copy(other), samples);
    EXPECT_EQ(Copy(first), samples);
}

TEST_F(SharedMferLeads, ALeadTheFileDoesNotHoldIsNotShared)
{
    ASSERT_NE(nullptr, OpenKind(MferKind::Plain, 3, 0x8003, 3));
    EXPECT_FALSE(m_doc->GetWholeRhythmWave(3));
    EXPECT_FALSE(m_doc->GetWholeRhythmWave(-1));
}

TEST_F(SharedRhythmLeads, ViewsOfALeadShareTheCachedStripThatOutlivesTheCache)
{
    morvelance::RhythmRecordShape shape;
    shape.leads = 3;
    shape.seconds = 10.0;
    ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "shared", shape), 3));
    m_doc->SetDelBitNoise(0);
    const SharedSamples first = ExpectLeadOneSharedAsRead(*m_doc);
    ASSERT_TRUE(first);
    const std::vector<short> samples = Copy(first);

    // Bit noise on: the document drops every cached strip on the next read.
    m_doc->SetDelBitNoise(1);
    const std::vector<short> denoised = Read(*m_doc, 2);
    ASSERT_EQ(nullptr, m_doc->GetCurrentDataItem()->pWaveCache[1]);
    EXPECT_EQ(Copy(first), samples);
    const SharedSamples again = m_doc->GetWholeRhythmWave(2);
    EXPECT_EQ(Copy(again), denoised);
}

}  // namespace
