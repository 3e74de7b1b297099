// IPersistStream and IPersistPropertyBag of the package: formats, round trips, bad input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <comdef.h>

#include <cstdint>

#include "package/PackageFactory.h"
#include "tests/refprop/support/FakeHost.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo;
using namespace tarnevo_test;
using Microsoft::WRL::ComPtr;
using ::testing::SizeIs;

namespace {

IUnknown* Unknown(const PropertyPackagePtr& package) { return static_cast<ICapeThermoCompounds*>(package.Get()); }

std::string Uint32(std::uint32_t value) {
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                       static_cast<char>(value >> 24)};
}

template <class I>
ComPtr<I> As(const PropertyPackagePtr& package) {
    ComPtr<I> result;
    EXPECT_EQ(package->QueryInterface(IID_PPV_ARGS(&result)), S_OK);
    return result;
}

class PersistenceTest : public ::testing::Test {
protected:
    void SetUp() override { store.WritePackage(L"Gas", kTwoCompoundDefinition); }
    PropertyPackagePtr Initialised(const wchar_t* name = L"Gas") {
        PropertyPackagePtr package = CreatePropertyPackage(name);
        EXPECT_EQ(As<ICapeUtilities>(package)->Initialize(), S_OK) << Narrow(package->InitialisationMessage());
        return package;
    }
    HRESULT LoadBytes(const PropertyPackagePtr& package, const std::string& bytes) {
        return As<IPersistStream>(package)->Load(MemoryStream(bytes).Get());
    }

    TestStore store;
};

TEST_F(PersistenceTest, StreamRoundTripRestoresTheDefinitionWithoutTheFile) {
    PropertyPackagePtr saved = Initialised();
    auto stream = MemoryStream();
    ComPtr<IPersistStream> persist = As<IPersistStream>(saved);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    const std::string text = kTwoCompoundDefinition;
    EXPECT_EQ(StreamBytes(stream.Get()), Uint32(0) + Uint32(static_cast<std::uint32_t>(text.size())) + text);
    ULARGE_INTEGER size;
    ASSERT_EQ(persist->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, text.size() + 8);
    EXPECT_EQ(persist->GetSizeMax(nullptr), E_POINTER);

    ASSERT_TRUE(DeleteFileW(store.PackageFile(L"Gas").c_str()));
    PropertyPackagePtr restored = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(As<IPersistStream>(restored)->Load(MemoryStream(StreamBytes(stream.Get())).Get()), S_OK);
    EXPECT_EQ(restored->DefinitionText(), text);
    EXPECT_EQ(As<ICapeUtilities>(restored)->Initialize(), S_OK) << Narrow(restored->InitialisationMessage());
}

TEST_F(PersistenceTest, BadStreamsAreRefusedWithTheirMessages) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    struct Case {
        std::string bytes;
        const wchar_t* message;
    } cases[] = {
        {Uint32(1) + Uint32(0), L"Property package was saved with a newer version of TARNEVO; please make sure you "
                                L"have the latest version"},
        {Uint32(0) + "abc", L"Read error"},
        {"ab", L"Read error"},
        {"", L"Read error"},
        {Uint32(0) + Uint32(10) + "short", L"Read error"},
        // N near 4 GiB in a tiny stream: refused without reserving N bytes.
        {Uint32(0) + Uint32(0xFFFFFFF0u) + "tiny", L"Read error"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadBytes(package, c.bytes), ECapeUnknownHR);
        EXPECT_EQ(ErrorDescription(Unknown(package)), c.message);
        EXPECT_EQ(ErrorScope(Unknown(package)), L"Load");
        EXPECT_EQ(ErrorInterface(Unknown(package)), L"IPersistStream");
    }
    EXPECT_EQ(As<IPersistStream>(package)->Load(nullptr), E_POINTER);
    EXPECT_TRUE(package->DefinitionText().empty());  // nothing replaced by a failed load
}

TEST_F(PersistenceTest, FailingWritesReportWriteError) {
    PropertyPackagePtr package = Initialised();
    for (ULONG capacity : {0u, 6u, 20u}) {
        auto stream = FailingStream::Create(capacity);
        EXPECT_EQ(As<IPersistStream>(package)->Save(stream.Get(), TRUE), ECapeUnknownHR);
        EXPECT_EQ(ErrorDescription(Unknown(package)), L"Write error");
        EXPECT_EQ(ErrorScope(Unknown(package)), L"Save");
    }
    EXPECT_EQ(As<IPersistStream>(package)->Save(nullptr, TRUE), E_POINTER);
}

TEST_F(PersistenceTest, PropertyBagRoundTripStoresLfAndRestoresCrLf) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    package->SetDefinitionText("a=1\r\n\tb=2\x01\r\nc=\xE9\xFF\r\n");
    auto bag = FakePropertyBag::Create();
    ComPtr<IPersistPropertyBag> persist = As<IPersistPropertyBag>(package);
    EXPECT_EQ(persist->InitNew(), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);  // no initialisation needed
    const VARIANT& stored = bag->values[L"configuration"];
    ASSERT_EQ(stored.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(stored.bstrVal), L"a=1\n\tb=2\nc=\u00e9\u00ff\n");

    PropertyPackagePtr restored = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(As<IPersistPropertyBag>(restored)->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(restored->DefinitionText(), "a=1\r\n\tb=2\r\nc=\xE9\xFF\r\n");

    // A whole definition survives the trip and initialises.
    package->SetDefinitionText(kTwoCompoundDefinition);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    ASSERT_EQ(As<IPersistPropertyBag>(restored)->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(restored->DefinitionText(), kTwoCompoundDefinition);
    EXPECT_EQ(As<ICapeUtilities>(restored)->Initialize(), S_OK);
}

TEST_F(PersistenceTest, BadPropertyBagsAreRefusedAndLogged) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    package->SetDefinitionText("kept");
    ComPtr<IPersistPropertyBag> persist = As<IPersistPropertyBag>(package);
    auto bag = FakePropertyBag::Create();
    auto log = FakeErrorLog::Create();

    EXPECT_EQ(persist->Load(bag.Get(), log.Get()), E_FAIL);  // no "configuration"

    _variant_t number(42.0);
    bag->Write(L"configuration", &number);
    EXPECT_EQ(persist->Load(bag.Get(), log.Get()), E_FAIL);
    ASSERT_THAT(log->entries, SizeIs(1));
    EXPECT_EQ(log->entries[0].description, L"unexpected data type");

    _variant_t wide(L"nfluid=1\n\u0100");
    bag->Write(L"configuration", &wide);
    EXPECT_EQ(persist->Load(bag.Get(), log.Get()), E_FAIL);
    ASSERT_THAT(log->entries, SizeIs(2));
    EXPECT_EQ(log->entries[1].source, L"TARNEVO");
    EXPECT_EQ(log->entries[1].description, L"Illegal characters in string");
    EXPECT_EQ(persist->Load(bag.Get(), nullptr), E_FAIL);  // without a log as well
    EXPECT_EQ(package->DefinitionText(), "kept");

    EXPECT_EQ(persist->Load(nullptr, nullptr), E_POINTER);
    EXPECT_EQ(persist->Save(nullptr, TRUE, TRUE), E_POINTER);
    bag->failWrites = true;
    EXPECT_EQ(persist->Save(bag.Get(), TRUE, TRUE), E_FAIL);
}

}  // namespace
