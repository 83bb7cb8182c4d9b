#include "verse/VerseBook.h"

#include "platform/Directories.h"
#include "verse/LineFiles.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <new>
#include <unistd.h>

namespace {

// Shown in place of a verse when the line files cannot be used.
const char kNoticeFirst[] = "Create these two files";
const char kNoticeSecond[] = "windows\\system\\SEVENS.TXT, windows\\system\\FIVES.TXT";  // Windows
const char kNoticeThird[] = "Put the lines in them";

// A draw that keeps missing the admissible indices gives up after this many
// tries and takes the lowest admissible index, so a choice always ends.
constexpr int kMaxDraws = 1 << 16;

// The time alone would give every verse book made in the same second (one
// saver window per monitor, in one process or one process each) the same
// verses, in step. The clock's finer part and a count of the books made in
// this process tell them apart.
std::uint32_t FreshSeed() {
    static std::atomic<std::uint32_t> made{0};
    const auto ticks = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    return std::uint32_t(std::time(nullptr)) ^ std::uint32_t(ticks) ^ std::uint32_t(ticks >> 32) ^
           (++made * 0x9E3779B9u);
}

bool Contains(const std::vector<int>& set, int value) {
    return std::find(set.begin(), set.end(), value) != set.end();
}

}  // namespace

std::string CVerseBook::NoticeMiddleLine() {
    // Where the user keeps the files, as they would type it; one line still,
    // so the notice keeps the shape of a verse.
    const std::string dir = SystemDirectoryForTexts();
    return dir.empty() ? std::string(kNoticeSecond) : dir + "/sevens.txt, fives.txt";
}

CVerseBook::CVerseBook(const std::string& directory, std::optional<std::uint32_t> seed) {
    // Failure is ignored: the files are then looked for wherever we are.
    [[maybe_unused]] int ignored = ::chdir(directory.c_str());
    m_random.Seed(seed ? *seed : FreshSeed());
    LoadLines();
    m_prevFirst = m_prevMiddle = m_prevThird = -1;
}

void CVerseBook::LoadLines() {
    FreeLines();
    // Both lists or neither: a verse needs lines from both files.
    try {
        std::optional<std::vector<std::string>> fives = ReadLineFileOrDefault("fives.txt", kMaxLines);
        if (!fives)
            return;
        std::optional<std::vector<std::string>> sevens = ReadLineFileOrDefault("sevens.txt", kMaxLines);
        if (!sevens)
            return;
        m_fives = std::move(*fives);
        m_sevens = std::move(*sevens);
    } catch (const std::bad_alloc&) {
        FreeLines();  // out of memory while loading: as if the files were missing
    }
    m_prevFirst = m_prevMiddle = m_prevThird = -1;
}

void CVerseBook::FreeLines() {
    m_fives.clear();
    m_fives.shrink_to_fit();
    m_sevens.clear();
    m_sevens.shrink_to_fit();
}

void CVerseBook::ChooseVerse(std::string& first, std::string& second, std::string& third) {
    first.clear();
    second.clear();
    third.clear();
    if (m_fives.empty() || m_sevens.empty()) {
        first = kNoticeFirst;
        second = NoticeMiddleLine();
        third = kNoticeThird;
        return;
    }
    const int n5 = FiveCount();
    const int n7 = SevenCount();
    // The rules, each followed by what is left of it when a short list cannot
    // meet it: the lines of the previous verse are given up first, the rule
    // that the first and third lines differ last.
    const int firstIndex = DrawIndex(n5, {{m_prevFirst, m_prevThird}, {}});
    const int thirdIndex = DrawIndex(n5, {{m_prevFirst, m_prevThird, firstIndex}, {firstIndex}, {}});
    const int middleIndex = DrawIndex(n7, {{m_prevMiddle}, {}});

    first = m_fives[std::size_t(firstIndex)];
    second = m_sevens[std::size_t(middleIndex)];
    third = m_fives[std::size_t(thirdIndex)];
    m_prevFirst = firstIndex;
    m_prevMiddle = middleIndex;
    m_prevThird = thirdIndex;
}

int CVerseBook::DrawIndex(int count, std::initializer_list<std::vector<int>> rules) {
    for (const std::vector<int>& avoid : rules) {
        int lowestAdmissible = -1;
        for (int i = 0; i < count && lowestAdmissible < 0; ++i)
            if (!Contains(avoid, i))
                lowestAdmissible = i;
        if (lowestAdmissible < 0)
            continue;  // this rule cannot be met: relax it
        for (int tries = 0; tries < kMaxDraws; ++tries) {
            int index = m_random.Next() % count;
            if (!Contains(avoid, index))
                return index;
        }
        return lowestAdmissible;
    }
    return m_random.Next() % count;  // not reached: the last rule avoids nothing
}
