#pragma once
#include "verse/RandomSource.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// The line holder: the five-syllable and seven-syllable lines the verses are
// made of, and the choice of the three lines of each verse.
class CVerseBook {
public:
    static constexpr int kMaxLines = 1000;
    // A line is read in pieces of at most this many characters.
    static constexpr int kPieceLength = 248;

    // Makes `directory` current, seeds the random source (with the time, or
    // with `seed` when given) and reads "fives.txt" and "sevens.txt", each
    // from the installed defaults when the directory has none.
    explicit CVerseBook(const std::string& directory, std::optional<std::uint32_t> seed = std::nullopt);

    void LoadLines();
    // Fills the three lines of the next verse, or the three notice lines when
    // the line files could not be used.
    void ChooseVerse(std::string& first, std::string& second, std::string& third);
    // The notice's middle line: which files to create, and where.
    static std::string NoticeMiddleLine();
    void FreeLines();

    int FiveCount() const { return int(m_fives.size()); }
    int SevenCount() const { return int(m_sevens.size()); }

private:
    // Draws an index below `count` that avoids the indices of the first rule
    // that can be met; later rules are relaxed forms of earlier ones.
    int DrawIndex(int count, std::initializer_list<std::vector<int>> rules);

    std::vector<std::string> m_fives;
    std::vector<std::string> m_sevens;
    int m_prevMiddle = -1;
    int m_prevFirst = -1;
    int m_prevThird = -1;
    RandomSource m_random;
};
