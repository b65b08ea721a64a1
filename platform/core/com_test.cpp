#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

class IBase : public IUnknown {};
class IDerived : public IBase {};
class IOther : public IUnknown {};
const IID IID_IBase = {1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
const IID IID_IDerived = {2, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
const IID IID_IOther = {3, 0, 0, {0, 0, 0, 0, 0, 0, 0, 3}};
const IID IID_INone = {4, 0, 0, {0, 0, 0, 0, 0, 0, 0, 4}};

class Object final
    : public platform::ComObjectOf<platform::ComInterface<IDerived, IID_IDerived, IID_IBase>,
                                   platform::ComInterface<IOther, IID_IOther>> {
public:
    explicit Object(bool& alive) : m_alive(alive) { m_alive = true; }

private:
    ~Object() override { m_alive = false; }
    bool& m_alive;
};

TEST(ComObject, AnswersEachInterfaceAndGoesWithTheLastRelease) {
    bool alive = false;
    auto* object = new Object(alive);
    IDerived* derived = object;
    IOther* other = object;
    struct Case {
        const IID& iid;
        HRESULT result;
        void* answer;
    };
    const Case cases[] = {
        {IID_IUnknown, S_OK, derived},
        {IID_IDerived, S_OK, derived},
        {IID_IBase, S_OK, static_cast<IBase*>(derived)},
        {IID_IOther, S_OK, other},
        {IID_INone, E_NOINTERFACE, nullptr},
    };
    for (const Case& test : cases) {
        void* answer = &alive;
        EXPECT_EQ(other->QueryInterface(test.iid, &answer), test.result);
        EXPECT_EQ(answer, test.answer);
    }
    EXPECT_EQ(derived->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    // One reference of its own and one for each interface answered.
    EXPECT_EQ(other->AddRef(), 6u);
    for (ULONG left = 5; left > 0; --left) EXPECT_EQ(derived->Release(), left);
    EXPECT_TRUE(alive);
    EXPECT_EQ(other->Release(), 0u);
    EXPECT_FALSE(alive);
}

}  // namespace
