#include "platform/module/peimage.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "platform/module/module_testenv.h"

using namespace moduletesting;
using platform::PeImage;
using platform::ResourceData;
using platform::ResourceKey;

namespace {

const char* const kLibraries[] = {"gnu/aud_de_de_mc_02.dll", "resdll/aud_de_de_mc_02.dll"};

ResourceKey id(WORD value) { return ResourceKey::fromId(value); }
ResourceKey name(const wchar_t* value) { return ResourceKey::fromName(value); }

Bytes bytesOf(const ResourceData& data) { return Bytes(data.data, data.data + data.size); }

DWORD lookUp(const Bytes& image, const ResourceKey& type, const ResourceKey& key) {
    PeImage reader;
    DWORD opened = reader.open(image.data(), image.size());
    if (opened != ERROR_SUCCESS) return opened;
    ResourceData data;
    return reader.findResource(type, key, data);
}

// What every library of the test data holds (tests/data/recordings.rc).
void expectTheTestResources(const Bytes& image) {
    PeImage reader;
    ASSERT_EQ(reader.open(image.data(), image.size()), ERROR_SUCCESS);
    ResourceData data;
    const std::pair<WORD, const char*> recordings[] = {
        {1702, "schule.mp3"}, {1703, "strasse.mp3"}, {1704, "wasser.mp3"}};
    for (const auto& [resourceId, file] : recordings) {
        ASSERT_EQ(reader.findResource(name(L"MP3"), id(resourceId), data), ERROR_SUCCESS);
        EXPECT_EQ(bytesOf(data), readBytes(testData(file))) << file;
    }
    Bytes tone = readBytes(testData("tone.wav"));
    ASSERT_EQ(reader.findResource(name(L"WAVE"), id(1000), data), ERROR_SUCCESS);
    EXPECT_EQ(bytesOf(data), tone);
    // Names are found whatever their case.
    ASSERT_EQ(reader.findResource(name(L"wave"), name(L"begruessung"), data), ERROR_SUCCESS);
    EXPECT_EQ(bytesOf(data), tone);
    // A bitmap resource is the file without its 14-byte file header.
    Bytes bitmap = readBytes(testData("test.bmp"));
    ASSERT_EQ(reader.findResource(id(2), id(107), data), ERROR_SUCCESS);
    EXPECT_EQ(bytesOf(data), Bytes(bitmap.begin() + 14, bitmap.end()));

    ResourceData again;
    ASSERT_TRUE(reader.resourceAt(data.entry, again));
    EXPECT_EQ(again.data, data.data);
    EXPECT_EQ(again.size, data.size);
}

}  // namespace

TEST(PeImage, ReadsLibrariesOfTheGnuToolchainAndOfResdll) {
    for (const char* library : kLibraries) {
        SCOPED_TRACE(library);
        Bytes image = readBytes(testData(library));
        expectTheTestResources(image);
        PeImage reader;
        ASSERT_EQ(reader.open(image.data(), image.size()), ERROR_SUCCESS);
        EXPECT_FALSE(reader.isPe32Plus());
    }
}

TEST(PeImage, ReadsPe32Plus) {
    Bytes image = toPe32Plus(readBytes(testData("resdll/aud_de_de_mc_02.dll")));
    PeImage reader;
    ASSERT_EQ(reader.open(image.data(), image.size()), ERROR_SUCCESS);
    EXPECT_TRUE(reader.isPe32Plus());
    expectTheTestResources(image);
}

TEST(PeImage, TellsAMissingTypeFromAMissingName) {
    Bytes image = readBytes(testData("gnu/aud_de_de_mc_02.dll"));
    EXPECT_EQ(lookUp(image, name(L"OGG"), id(1702)), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(lookUp(image, name(L"MP3"), id(1705)), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(lookUp(image, name(L"MP3"), name(L"1702")), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(lookUp(image, name(L"MP"), id(1702)), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(lookUp(image, name(L"MP33"), id(1702)), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(lookUp(image, id(3), id(1702)), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

TEST(PeImage, ListsEveryResource) {
    std::set<std::tuple<std::wstring, WORD, std::wstring, WORD, WORD>> expected = {
        {L"MP3", 0, L"", 1702, 0x407},       {L"MP3", 0, L"", 1703, 0x407},
        {L"MP3", 0, L"", 1704, 0x407},       {L"WAVE", 0, L"", 1000, 0x407},
        {L"WAVE", 0, L"BEGRUESSUNG", 0, 0x407}, {L"", 2, L"", 107, 0x407},
        {L"", 6, L"", 1, 0x407},             {L"", 6, L"", 2, 0x407},
        {L"", 6, L"", 7, 0x407},             {L"", 6, L"", 8, 0x407},
        {L"", 6, L"", 13, 0x407},
    };
    for (const char* library : kLibraries) {
        SCOPED_TRACE(library);
        Bytes image = readBytes(testData(library));
        PeImage reader;
        ASSERT_EQ(reader.open(image.data(), image.size()), ERROR_SUCCESS);
        std::set<std::tuple<std::wstring, WORD, std::wstring, WORD, WORD>> seen;
        reader.forEachResource(1000, [&](const ResourceKey& type, const ResourceKey& key,
                                         WORD language, const ResourceData&) {
            seen.emplace(type.name, type.id, key.name, key.id, language);
        });
        EXPECT_EQ(seen, expected);

        std::size_t visits = 0;
        reader.forEachResource(3, [&](const ResourceKey&, const ResourceKey&, WORD,
                                      const ResourceData&) { ++visits; });
        EXPECT_EQ(visits, 1u);  // the first type, its first name, its first language
    }
}

TEST(PeImage, RefusesEveryTruncatedLibrary) {
    for (const char* library : {"gnu/aud_de_de_mc_02.dll", "resdll/program.dll"}) {
        SCOPED_TRACE(library);
        Bytes image = readBytes(testData(library));
        for (std::size_t length = 0; length < image.size(); ++length) {
            // A buffer of exactly the truncated length, so that the
            // sanitizer sees any read past it.
            Bytes cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length));
            PeImage reader;
            ASSERT_EQ(reader.open(cut.data(), cut.size()), ERROR_BAD_EXE_FORMAT) << length;
        }
    }
}

TEST(PeImage, RefusesDamagedHeaders) {
    const Bytes good = readBytes(testData("resdll/aud_de_de_mc_02.dll"));
    const Layout layout = layoutOf(good);
    auto opened = [](const Bytes& image) {
        PeImage reader;
        return reader.open(image.data(), image.size());
    };
    ASSERT_EQ(opened(good), ERROR_SUCCESS);

    Bytes text(200, 'x');
    EXPECT_EQ(opened(text), ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(opened(Bytes{}), ERROR_BAD_EXE_FORMAT);

    Bytes image = good;
    image[1] = 'X';
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "no MZ";
    image = good;
    put32(image, 0x3C, 0xFFFFFFF0);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "PE header outside the file";
    image = good;
    image[layout.fileHeader - 2] = 'X';
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "no PE signature";
    image = good;
    put16(image, layout.optionalHeader, 0x107);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "unknown optional header";
    image = good;
    put16(image, layout.fileHeader + 16, 0xFFFF);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "optional header larger than the file";
    image = good;
    put16(image, layout.fileHeader + 16, 80);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "optional header too short";
    image = good;
    put32(image, layout.dataDirectories - 4, 0x20000000);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "more data directories than room";
    image = good;
    put16(image, layout.fileHeader + 2, 0xFFFF);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "huge section count";
    image = good;
    put32(image, layout.sectionTable + 20, 0xFFFFFF00);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "section data outside the file";
    image = good;
    put32(image, layout.sectionTable + 16, 0xFFFFFFFF);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "section data size overflows";
    image = good;
    put32(image, layout.dataDirectories + 16, 0x7FFFFFF0);
    EXPECT_EQ(opened(image), ERROR_BAD_EXE_FORMAT) << "resource directory outside every section";
}

TEST(PeImage, AnImageWithoutResourceDirectoryHasNoResources) {
    Bytes image = readBytes(testData("resdll/aud_de_de_mc_02.dll"));
    Layout layout = layoutOf(image);
    Bytes none = image;
    put32(none, layout.dataDirectories + 16, 0);
    EXPECT_EQ(lookUp(none, name(L"MP3"), id(1702)), ERROR_RESOURCE_DATA_NOT_FOUND);
    // Only two data directories: the resource directory is not among them.
    Bytes short_ = image;
    put32(short_, layout.dataDirectories - 4, 2);
    EXPECT_EQ(lookUp(short_, name(L"MP3"), id(1702)), ERROR_RESOURCE_DATA_NOT_FOUND);
}

// The resdll library's tree: types MP3, WAVE, 2, 6 in that order; MP3's
// names 1702, 1703, 1704.
class DamagedTree : public ::testing::Test {
protected:
    void SetUp() override {
        m_good = readBytes(testData("resdll/aud_de_de_mc_02.dll"));
        m_layout = layoutOf(m_good);
        m_image = m_good;
        root = m_layout.resources;
        mp3Entry = entryAt(root, 0);
        mp3Names = targetOf(m_good, m_layout, mp3Entry);
        entry1702 = entryAt(mp3Names, 0);
        languages1702 = targetOf(m_good, m_layout, entry1702);
        dataEntry1702 = targetOf(m_good, m_layout, entryAt(languages1702, 0));
        ASSERT_EQ(get32(m_good, entry1702), 1702u);
        ASSERT_EQ(lookUp(m_good, name(L"MP3"), id(1702)), ERROR_SUCCESS);
    }

    DWORD offsetOf(std::size_t fileOffset) const {
        return static_cast<DWORD>(fileOffset - m_layout.resources);
    }
    DWORD find(const ResourceKey& type, const ResourceKey& key) const {
        return lookUp(m_image, type, key);
    }
    std::size_t listed() const {
        PeImage reader;
        reader.open(m_image.data(), m_image.size());
        std::size_t count = 0;
        reader.forEachResource(100000, [&](const ResourceKey&, const ResourceKey&, WORD,
                                           const ResourceData& data) {
            // Touch every byte: the sanitizer checks that each lies inside.
            volatile BYTE sum = 0;
            for (DWORD i = 0; i < data.size; ++i) sum = static_cast<BYTE>(sum + data.data[i]);
            ++count;
        });
        return count;
    }

    Bytes m_good;
    Bytes m_image;
    Layout m_layout{};
    std::size_t root = 0;
    std::size_t mp3Entry = 0;
    std::size_t mp3Names = 0;
    std::size_t entry1702 = 0;
    std::size_t languages1702 = 0;
    std::size_t dataEntry1702 = 0;
};

TEST_F(DamagedTree, HugeCountsInTheRootHideEverything) {
    put16(m_image, root + 12, 0xFFFF);
    put16(m_image, root + 14, 0xFFFF);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_EQ(listed(), 0u);
}

TEST_F(DamagedTree, HugeCountsInANameDirectoryHideOnlyThatType) {
    put16(m_image, mp3Names + 14, 0xFFFF);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(find(name(L"WAVE"), id(1000)), ERROR_SUCCESS);
}

TEST_F(DamagedTree, ADirectoryThatPointsBackEndsTheWalk) {
    // The name entry's language directory is the name directory itself,
    // whose entries are subdirectories: a fourth level, refused.
    put32(m_image, entry1702 + 4, 0x80000000u | offsetOf(mp3Names));
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_EQ(find(name(L"MP3"), id(1703)), ERROR_SUCCESS);
    EXPECT_EQ(listed(), 10u);

    // The type's name directory is the root.
    m_image = m_good;
    put32(m_image, mp3Entry + 4, 0x80000000u);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(find(name(L"MP3"), name(L"MP3")), ERROR_RESOURCE_DATA_NOT_FOUND);
    listed();

    // A language entry that names a subdirectory.
    m_image = m_good;
    put32(m_image, entryAt(languages1702, 0) + 4, 0x80000000u);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_DATA_NOT_FOUND);
}

TEST_F(DamagedTree, DirectoriesOutsideTheSectionAreMissing) {
    put32(m_image, mp3Entry + 4, 0xFFFFFFF0);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_NAME_NOT_FOUND);
    m_image = m_good;
    put32(m_image, entry1702 + 4, 0x80FFFFF0);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_NAME_NOT_FOUND);
    m_image = m_good;
    put32(m_image, mp3Entry + 4, offsetOf(dataEntry1702));  // a type that points at data
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(listed(), 8u);
}

TEST_F(DamagedTree, NamesOutsideTheSectionMatchNothing) {
    put32(m_image, mp3Entry, 0xFFFFFFFF);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_TYPE_NOT_FOUND);
    // A name whose length runs past the end of the section.
    m_image = m_good;
    std::size_t text = m_layout.resources + (get32(m_good, mp3Entry) & 0x7FFFFFFF);
    put16(m_image, text, 0xFFFF);
    EXPECT_EQ(find(name(L"MP3"), id(1702)), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(find(name(L"WAVE"), id(1000)), ERROR_SUCCESS);
    EXPECT_EQ(listed(), 8u);
}

TEST_F(DamagedTree, DataOutsideTheImageIsMissing) {
    const DWORD sectionEnd =
        get32(m_good, m_layout.sectionTable + 12) + get32(m_good, m_layout.sectionTable + 16);
    const std::pair<DWORD, DWORD> damages[] = {
        {0xFFFFFF00, 16},                      // address outside every section
        {get32(m_good, dataEntry1702), 0xFFFFFFFF},  // size past the section
        {0xFFFFFFF0, 0x20},                    // address + size overflows
        {sectionEnd, 1},                       // just past the section's data
        {sectionEnd, 0},                       // empty, at the very end: still inside
    };
    for (const auto& [address, size] : damages) {
        m_image = m_good;
        put32(m_image, dataEntry1702, address);
        put32(m_image, dataEntry1702 + 4, size);
        DWORD expected = size == 0 ? ERROR_SUCCESS : ERROR_RESOURCE_DATA_NOT_FOUND;
        EXPECT_EQ(find(name(L"MP3"), id(1702)), expected) << address;
        EXPECT_EQ(find(name(L"MP3"), id(1703)), ERROR_SUCCESS);
        EXPECT_EQ(listed(), size == 0 ? 11u : 10u);
    }
}

TEST_F(DamagedTree, AHandedOutEntryIsCheckedAgain) {
    PeImage reader;
    ASSERT_EQ(reader.open(m_image.data(), m_image.size()), ERROR_SUCCESS);
    ResourceData data;
    EXPECT_FALSE(reader.resourceAt(nullptr, data));
    EXPECT_FALSE(reader.resourceAt(m_image.data(), data));  // before the tree
    EXPECT_FALSE(reader.resourceAt(m_image.data() + m_image.size() - 8, data));
    EXPECT_TRUE(reader.resourceAt(m_image.data() + dataEntry1702, data));
    EXPECT_EQ(data.size, readBytes(testData("schule.mp3")).size());
}
