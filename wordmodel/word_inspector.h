// Test access to every member of LX_Word, so that construction, reset and
// copies can be checked member by member. Only test programs include it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "wordmodel/word.h"

// A record whose German text is the given one.
inline LX_Word germanWord(const std::wstring& text) {
    LX_Word word;
    word.setWord(text);
    return word;
}

class LX_WordInspector {
public:
    // Every member as construction leaves it, languages aside.
    static void expectFresh(const LX_Word& w) {
        for (int slot = 0; slot < languageSlotCount; ++slot) {
            SCOPED_TRACE(slot);
            EXPECT_EQ(w.m_wordText[slot], L"");
            EXPECT_EQ(w.m_article[slot], L"");
            EXPECT_EQ(w.m_audioName[slot], L"");
            EXPECT_EQ(w.m_perLanguageNumber[slot], -1);
            EXPECT_EQ(w.m_dllIndex[slot], -1);
            EXPECT_EQ(w.m_resourceId[slot], -1);
        }
        EXPECT_TRUE(w.m_relatedWords.empty());
        EXPECT_FALSE(w.m_isName);
        EXPECT_FALSE(w.m_flagS);
        EXPECT_FALSE(w.m_flagW);
        EXPECT_TRUE(w.m_graphemPhonemList.empty());
        EXPECT_TRUE(w.m_wordGroups.empty());
        EXPECT_TRUE(w.m_spellingGroups.empty());
        EXPECT_TRUE(w.m_wordKinds.empty());
        EXPECT_EQ(w.m_difficulty, 0);
        EXPECT_TRUE(w.m_levelCounts.empty());
        EXPECT_EQ(w.m_nbSyllables, 0);
        EXPECT_FALSE(w.m_flagY);
        for (int variant = 0; variant < 2; ++variant) {
            EXPECT_EQ(w.m_taggedWord[variant], L"");
            EXPECT_EQ(w.m_hyphenation[variant], L"");
            EXPECT_EQ(w.m_markedPhones[variant], L"");
        }
        EXPECT_FALSE(w.m_hyphenationsDiffer);
        EXPECT_FALSE(w.m_markedPhonesDiffer);
        EXPECT_EQ(w.m_phonemList, L"");
        for (int kind = 0; kind < 5; ++kind) {
            EXPECT_EQ(w.m_audioState[kind], 0);
            EXPECT_FALSE(w.m_audioFileFound[kind]);
        }
        EXPECT_EQ(w.m_doubleKind, 0);
        EXPECT_FALSE(w.m_hasError);
        EXPECT_EQ(w.m_auxNumber, -1);
        EXPECT_EQ(w.m_wordNumber, -1);
        EXPECT_FALSE(w.m_auxFlag);
        EXPECT_TRUE(w.m_firstReferences.empty());
        EXPECT_TRUE(w.m_secondReferences.empty());
        EXPECT_TRUE(w.m_memberships.empty());
        EXPECT_FALSE(w.m_flagKR);
        EXPECT_FALSE(w.m_flagQL);
        EXPECT_FALSE(w.m_flagMOB);
        EXPECT_FALSE(w.m_flagDiF);
    }

    // Gives every member a value that differs from the fresh one.
    static void fillAll(LX_Word& w, const std::wstring& text) {
        for (int slot = 0; slot < languageSlotCount; ++slot) {
            const std::wstring tag = text + std::to_wstring(slot);
            w.m_wordText[slot] = tag;
            w.m_article[slot] = L"der";
            w.m_audioName[slot] = L"w" + tag;
            w.m_altAudioName[slot] = L"alt" + tag;
            w.m_auxText[slot] = L"aux" + tag;
            w.m_perLanguageNumber[slot] = slot + 1;
            w.m_dllIndex[slot] = slot + 2;
            w.m_resourceId[slot] = 1000 + slot;
        }
        w.m_isName = w.m_flagS = w.m_flagW = w.m_flagY = true;
        w.m_graphemPhonemList = {L"sch", L"u"};
        w.m_wordGroups = {L"Schule"};
        w.m_spellingGroups = {L"Mitlautverdopplung"};
        w.m_wordKinds = {1, 3};
        w.m_difficulty = 8;
        w.m_levelCounts = {0, 2};
        w.m_nbSyllables = 2;
        for (int variant = 0; variant < 2; ++variant) {
            w.m_taggedWord[variant] = L"Schu|le";
            w.m_hyphenation[variant] = L"Schu-le";
            w.m_markedPhones[variant] = L"[sch]ule";
        }
        w.m_hyphenationsDiffer = w.m_markedPhonesDiffer = true;
        w.m_phonemList = L"sch-u-l-e";
        for (int kind = 1; kind < 5; ++kind) {
            w.m_audioState[kind] = kind;
            w.m_audioFileFound[kind] = true;
        }
        w.m_doubleKind = 3;
        w.m_hasError = true;
        w.m_auxNumber = 7;
        w.m_wordNumber = 42;
        w.m_auxFlag = true;
        w.m_checkCodes = {10, 36};
        w.m_firstReferences = {{2, 1, 5}};
        w.m_secondReferences = {{1, 2, 120}};
        w.m_memberships = {L"QLYde", L"DE 01"};
        w.m_flagKR = w.m_flagQL = w.m_flagMOB = w.m_flagDiF = true;
    }

    static int secondLanguage(const LX_Word& w) { return w.m_secondLanguage; }
    static bool hasError(const LX_Word& w) { return w.m_hasError; }
    static std::vector<LX_Word>& relatedWords(LX_Word& w) { return w.m_relatedWords; }
    static const std::set<int>& checkCodes(const LX_Word& w) { return w.m_checkCodes; }
    static std::set<std::wstring>& memberships(LX_Word& w) { return w.m_memberships; }
    static void setLanguage(LX_Word& w, int language) { w.m_language = language; }
    static void setSecondLanguage(LX_Word& w, int language) { w.m_secondLanguage = language; }
    static void setWordNumber(LX_Word& w, int number) { w.m_wordNumber = number; }
    static void setAudioState(LX_Word& w, int kind, int state) { w.m_audioState[kind] = state; }
    static bool audioFileFound(const LX_Word& w, int kind) { return w.m_audioFileFound[kind]; }
    static void setFlags(LX_Word& w, bool flagS, bool flagY, bool flagKR, bool flagMOB,
                         bool flagDiF) {
        w.m_flagS = flagS;
        w.m_flagY = flagY;
        w.m_flagKR = flagKR;
        w.m_flagMOB = flagMOB;
        w.m_flagDiF = flagDiF;
    }
    static void setAuxFlag(LX_Word& w, bool flag) { w.m_auxFlag = flag; }
    static bool auxFlag(const LX_Word& w) { return w.m_auxFlag; }
    static std::vector<int>& levelCounts(LX_Word& w) { return w.m_levelCounts; }
    static void setHyphenation(LX_Word& w, int variant, const std::wstring& text) {
        w.m_hyphenation[variant] = text;
    }

    static bool equal(const LX_Word& a, const LX_Word& b) {
        for (int slot = 0; slot < languageSlotCount; ++slot) {
            if (a.m_wordText[slot] != b.m_wordText[slot] || a.m_article[slot] != b.m_article[slot] ||
                a.m_audioName[slot] != b.m_audioName[slot] ||
                a.m_altAudioName[slot] != b.m_altAudioName[slot] ||
                a.m_auxText[slot] != b.m_auxText[slot] ||
                a.m_perLanguageNumber[slot] != b.m_perLanguageNumber[slot] ||
                a.m_dllIndex[slot] != b.m_dllIndex[slot] ||
                a.m_resourceId[slot] != b.m_resourceId[slot]) {
                return false;
            }
        }
        for (int variant = 0; variant < 2; ++variant) {
            if (a.m_taggedWord[variant] != b.m_taggedWord[variant] ||
                a.m_hyphenation[variant] != b.m_hyphenation[variant] ||
                a.m_markedPhones[variant] != b.m_markedPhones[variant]) {
                return false;
            }
        }
        for (int kind = 0; kind < 5; ++kind) {
            if (a.m_audioState[kind] != b.m_audioState[kind] ||
                a.m_audioFileFound[kind] != b.m_audioFileFound[kind]) {
                return false;
            }
        }
        if (a.m_relatedWords.size() != b.m_relatedWords.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.m_relatedWords.size(); ++i) {
            if (!equal(a.m_relatedWords[i], b.m_relatedWords[i])) {
                return false;
            }
        }
        return a.m_language == b.m_language && a.m_secondLanguage == b.m_secondLanguage &&
               a.m_isName == b.m_isName && a.m_flagS == b.m_flagS && a.m_flagW == b.m_flagW &&
               a.m_graphemPhonemList == b.m_graphemPhonemList &&
               a.m_wordGroups == b.m_wordGroups && a.m_spellingGroups == b.m_spellingGroups &&
               a.m_wordKinds == b.m_wordKinds && a.m_difficulty == b.m_difficulty &&
               a.m_levelCounts == b.m_levelCounts && a.m_nbSyllables == b.m_nbSyllables &&
               a.m_flagY == b.m_flagY && a.m_hyphenationsDiffer == b.m_hyphenationsDiffer &&
               a.m_markedPhonesDiffer == b.m_markedPhonesDiffer &&
               a.m_phonemList == b.m_phonemList && a.m_doubleKind == b.m_doubleKind &&
               a.m_hasError == b.m_hasError && a.m_auxNumber == b.m_auxNumber &&
               a.m_wordNumber == b.m_wordNumber && a.m_auxFlag == b.m_auxFlag &&
               a.m_checkCodes == b.m_checkCodes && a.m_firstReferences == b.m_firstReferences &&
               a.m_secondReferences == b.m_secondReferences &&
               a.m_memberships == b.m_memberships && a.m_flagKR == b.m_flagKR &&
               a.m_flagQL == b.m_flagQL && a.m_flagMOB == b.m_flagMOB &&
               a.m_flagDiF == b.m_flagDiF;
    }
};
