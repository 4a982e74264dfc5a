#include "video/dxresults.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

namespace {

// The name a row's text gives in its brackets ("" when it has none).
std::string bracketName(const char* text) {
    if (text[0] != '[') return "";
    const char* end = std::strpbrk(text, "] ");
    return end ? std::string(text + 1, end) : "";
}

int32_t dd(uint32_t number) { return static_cast<int32_t>(0x88760000u + number); }

TEST(DxResults, DisplayRowsAscendByUnsignedCodeAndAreDistinct) {
    for (int i = 1; i < VID_DISPLAY_RESULT_COUNT; i++) {
        EXPECT_LT(static_cast<uint32_t>(vidDisplayResults[i - 1].code), static_cast<uint32_t>(vidDisplayResults[i].code))
            << "row " << i;
    }
    for (int i = 1; i < VID_INPUT_RESULT_COUNT; i++) {
        EXPECT_LT(static_cast<uint32_t>(vidInputResults[i - 1].code), static_cast<uint32_t>(vidInputResults[i].code))
            << "row " << i;
    }
}

TEST(DxResults, EveryDisplayRowIsBracketedNameThenExplanationThatFitsTheBuffer) {
    std::set<std::string> names;
    for (const VidResultText& row : vidDisplayResults) {
        ASSERT_NE(row.text, nullptr);
        std::string name = bracketName(row.text);
        ASSERT_FALSE(name.empty()) << row.text;
        EXPECT_EQ(std::string(row.text).substr(0, name.size() + 3), "[" + name + "] ") << row.text;
        EXPECT_GT(std::strlen(row.text), name.size() + 3 + 10) << "explanation missing: " << row.text;
        EXPECT_LT(std::strlen(row.text), static_cast<size_t>(VID_RESULT_TEXT_SIZE)) << row.text;
        EXPECT_TRUE(name == "DD_OK" || name.rfind("DDERR_", 0) == 0) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(VID_DISPLAY_RESULT_COUNT));
}

TEST(DxResults, DisplayRowsNameEveryResultInOrder) {
    const char* const names[VID_DISPLAY_RESULT_COUNT] = {
        "DD_OK", "DDERR_UNSUPPORTED", "DDERR_GENERIC", "DDERR_NOTINITIALIZED", "DDERR_OUTOFMEMORY",
        "DDERR_INVALIDPARAMS", "DDERR_ALREADYINITIALIZED", "DDERR_CANNOTATTACHSURFACE", "DDERR_CANNOTDETACHSURFACE",
        "DDERR_CURRENTLYNOTAVAIL", "DDERR_EXCEPTION", "DDERR_HEIGHTALIGN", "DDERR_INCOMPATIBLEPRIMARY",
        "DDERR_INVALIDCAPS", "DDERR_INVALIDCLIPLIST", "DDERR_INVALIDMODE", "DDERR_INVALIDOBJECT",
        "DDERR_INVALIDPIXELFORMAT", "DDERR_INVALIDRECT", "DDERR_LOCKEDSURFACES", "DDERR_NO3D", "DDERR_NOALPHAHW",
        "DDERR_NOCLIPLIST", "DDERR_NOCOLORCONVHW", "DDERR_NOCOOPERATIVELEVELSET", "DDERR_NOCOLORKEY",
        "DDERR_NOCOLORKEYHW", "DDERR_NODIRECTDRAWSUPPORT", "DDERR_NOEXCLUSIVEMODE", "DDERR_NOFLIPHW", "DDERR_NOGDI",
        "DDERR_NOMIRRORHW", "DDERR_NOTFOUND", "DDERR_NOOVERLAYHW", "DDERR_NORASTEROPHW", "DDERR_NOROTATIONHW",
        "DDERR_NOSTRETCHHW", "DDERR_NOT4BITCOLOR", "DDERR_NOT4BITCOLORINDEX", "DDERR_NOT8BITCOLOR",
        "DDERR_NOTEXTUREHW", "DDERR_NOVSYNCHW", "DDERR_NOZBUFFERHW", "DDERR_NOZOVERLAYHW", "DDERR_OUTOFCAPS",
        "DDERR_OUTOFVIDEOMEMORY", "DDERR_OVERLAYCANTCLIP", "DDERR_OVERLAYCOLORKEYONLYONEACTIVE", "DDERR_PALETTEBUSY",
        "DDERR_COLORKEYNOTSET", "DDERR_SURFACEALREADYATTACHED", "DDERR_SURFACEALREADYDEPENDENT", "DDERR_SURFACEBUSY",
        "DDERR_CANTLOCKSURFACE", "DDERR_SURFACEISOBSCURED", "DDERR_SURFACELOST", "DDERR_SURFACENOTATTACHED",
        "DDERR_TOOBIGHEIGHT", "DDERR_TOOBIGSIZE", "DDERR_TOOBIGWIDTH", "DDERR_UNSUPPORTEDFORMAT",
        "DDERR_UNSUPPORTEDMASK", "DDERR_VERTICALBLANKINPROGRESS", "DDERR_WASSTILLDRAWING", "DDERR_XALIGN",
        "DDERR_INVALIDDIRECTDRAWGUID", "DDERR_DIRECTDRAWALREADYCREATED", "DDERR_NODIRECTDRAWHW",
        "DDERR_PRIMARYSURFACEALREADYEXISTS", "DDERR_NOEMULATION", "DDERR_REGIONTOOSMALL", "DDERR_CLIPPERISUSINGHWND",
        "DDERR_NOCLIPPERATTACHED", "DDERR_NOHWND", "DDERR_HWNDSUBCLASSED", "DDERR_HWNDALREADYSET",
        "DDERR_NOPALETTEATTACHED", "DDERR_NOPALETTEHW", "DDERR_BLTFASTCANTCLIP", "DDERR_NOBLTHW", "DDERR_NODDROPSHW",
        "DDERR_OVERLAYNOTVISIBLE", "DDERR_NOOVERLAYDEST", "DDERR_INVALIDPOSITION", "DDERR_NOTAOVERLAYSURFACE",
        "DDERR_EXCLUSIVEMODEALREADYSET", "DDERR_NOTFLIPPABLE", "DDERR_CANTDUPLICATE", "DDERR_NOTLOCKED",
        "DDERR_CANTCREATEDC", "DDERR_NODC", "DDERR_WRONGMODE", "DDERR_IMPLICITLYCREATED", "DDERR_NOTPALETTIZED",
        "DDERR_UNSUPPORTEDMODE", "DDERR_NOMIPMAPHW", "DDERR_INVALIDSURFACETYPE", "DDERR_NOOPTIMIZEHW",
        "DDERR_NOTLOADED", "DDERR_NOFOCUSWINDOW", "DDERR_DCALREADYCREATED", "DDERR_NONONLOCALVIDMEM",
        "DDERR_CANTPAGELOCK", "DDERR_CANTPAGEUNLOCK", "DDERR_NOTPAGELOCKED", "DDERR_MOREDATA", "DDERR_VIDEONOTACTIVE",
        "DDERR_DEVICEDOESNTOWNSURFACE",
    };
    for (int i = 0; i < VID_DISPLAY_RESULT_COUNT; i++) {
        EXPECT_EQ(bracketName(vidDisplayResults[i].text), names[i]) << "row " << i;
    }
}

TEST(DxResults, DisplayCodesAreTheNamesDirectDrawValues) {
    struct Case {
        const char* name;
        int32_t code;
    };
    const Case cases[] = {
        {"DD_OK", 0},
        {"DDERR_UNSUPPORTED", static_cast<int32_t>(0x80004001)},
        {"DDERR_GENERIC", static_cast<int32_t>(0x80004005)},
        {"DDERR_NOTINITIALIZED", static_cast<int32_t>(0x800401F0)},
        {"DDERR_OUTOFMEMORY", static_cast<int32_t>(0x8007000E)},
        {"DDERR_INVALIDPARAMS", static_cast<int32_t>(0x80070057)},
        {"DDERR_ALREADYINITIALIZED", static_cast<int32_t>(0x88760005)},
        {"DDERR_OUTOFVIDEOMEMORY", static_cast<int32_t>(0x8876017C)},
        {"DDERR_SURFACELOST", static_cast<int32_t>(0x887601C2)},
        {"DDERR_WASSTILLDRAWING", static_cast<int32_t>(0x8876021C)},
        {"DDERR_NODIRECTDRAWHW", dd(563)},
        {"DDERR_INVALIDSURFACETYPE", dd(592)},
        {"DDERR_NOOPTIMIZEHW", dd(600)},
        {"DDERR_DEVICEDOESNTOWNSURFACE", static_cast<int32_t>(0x887602BB)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bracketName(vidDisplayResultText(c.code)), c.name) << std::hex << c.code;
    }
    EXPECT_EQ(bracketName(vidDisplayResults[0].text), "DD_OK");
    EXPECT_EQ(bracketName(vidDisplayResults[VID_DISPLAY_RESULT_COUNT - 1].text), "DDERR_DEVICEDOESNTOWNSURFACE");
}

TEST(DxResults, TheTwoQuotedDisplayTextsStandWordForWord) {
    EXPECT_STREQ(vidDisplayResultText(0), "[DD_OK] The request completed successfully.");
    EXPECT_STREQ(vidDisplayResultText(static_cast<int32_t>(0x887601C2)),
                 "[DDERR_SURFACELOST] Access to the surface is refused because the surface memory is gone. Call the "
                 "IDirectDrawSurface4::Restore method on this surface to restore the memory associated with it.");
}

TEST(DxResults, InputRowsCarryTheirNamesAndTheThreeQuotedExceptions) {
    struct Case {
        uint32_t code;
        const char* name;
    };
    const Case cases[] = {
        {0, "DI_OK"}, {2, "DI_POLLEDDEVICE"}, {3, "DI_DOWNLOADSKIPPED"}, {8, "DI_TRUNCATED"},
        {12, "DI_TRUNCATEDANDRESTARTED"}, {0x8000000A, "E_PENDING"}, {0x80004001, "DIERR_UNSUPPORTED"},
        {0x80004002, "DIERR_NOINTERFACE"}, {0x80004005, "DIERR_GENERIC"}, {0x80040110, "DIERR_NOAGGREGATION"},
        {0x80040154, "DIERR_DEVICENOTREG"}, {0x80040201, "DIERR_DEVICEFULL"}, {0x80040202, "DIERR_MOREDATA"},
        {0x80040203, "DIERR_NOTDOWNLOADED"}, {0x80040204, "DIERR_HASEFFECTS"},
        {0x80040205, "DIERR_NOTEXCLUSIVEACQUIRED"}, {0x80040206, "DIERR_INCOMPLETEEFFECT"},
        {0x80040207, "DIERR_NOTBUFFERED"}, {0x80040208, "DIERR_EFFECTPLAYING"}, {0x80070005, "DIERR_HANDLEEXISTS"},
        {0x8007000C, "DIERR_NOTACQUIRED"}, {0x8007000E, "DIERR_OUTOFMEMORY"}, {0x80070015, "DIERR_NOTINITIALIZED"},
        {0x8007001E, "DIERR_INPUTLOST"}, {0x80070057, "DIERR_INVALIDPARAM"}, {0x80070077, "DIERR_BADDRIVERVER"},
        {0x800700AA, "DIERR_ACQUIRED"}, {0x8007047E, "DIERR_OLDDIRECTINPUTVERSION"},
        {0x80070481, "DIERR_BETADIRECTINPUTVERSION"}, {0x800704DF, "DIERR_ALREADYINITIALIZED"},
    };
    for (const Case& c : cases) {
        const char* text = vidInputResultText(static_cast<int32_t>(c.code));
        EXPECT_EQ(bracketName(text), c.name) << std::hex << c.code;
        // Appended: g++ 12 at -O3 gives "literal" + std::string a false -Wrestrict (GCC bug 105329).
        EXPECT_EQ(std::string(text).substr(0, std::strlen(c.name) + 3), std::string("[").append(c.name).append("] "));
        EXPECT_GT(std::strlen(text), std::strlen(c.name) + 13) << text;
    }
    EXPECT_STREQ(vidInputResultText(1), "DI_NOEFFECT, DI_NOTATTACHED or DI_PROPNOEFFECT");
    EXPECT_EQ(std::string(vidInputResultText(4)).rfind("[DI_EFFECTRESTARTED The effect was stopped", 0), 0u);
    EXPECT_EQ(std::strchr(vidInputResultText(4), ']'), nullptr);
    EXPECT_STREQ(vidInputResultText(static_cast<int32_t>(0x80070002)),
                 "DIERR_NOTFOUND, DIERR_OBJECTNOTFOUND, DIERR_READONLY or DIERR_OTHERAPPHASPRIO.");
    for (const VidResultText& row : vidInputResults) {
        EXPECT_LT(std::strlen(row.text), static_cast<size_t>(VID_RESULT_TEXT_SIZE)) << row.text;
    }
}

TEST(DxResults, UnknownCodesTakeEachTablesDefault) {
    EXPECT_STREQ(vidDisplayResultText(7), "Unknown error");
    // An input code only is no display code.
    EXPECT_STREQ(vidDisplayResultText(static_cast<int32_t>(0x8007001E)), "Unknown error");
    EXPECT_STREQ(vidInputResultText(7), "NO SUCH ERROR");
    EXPECT_STREQ(vidInputResultText(static_cast<int32_t>(0x887601C2)), "NO SUCH ERROR");
}

TEST(DxResults, LinesNameTheTextAndTheCodeAsASignedNumber) {
    char line[VID_RESULT_LINE_SIZE];
    vidFormatDisplayResult(static_cast<int32_t>(0x8876017C), line, sizeof line);
    EXPECT_EQ(std::string(line), std::string("DDraw error: ") + vidDisplayResultText(static_cast<int32_t>(0x8876017C)) +
                                     " [-2005532292]");
    EXPECT_EQ(std::string(line).rfind("DDraw error: [DDERR_OUTOFVIDEOMEMORY] ", 0), 0u);

    vidFormatInputResult(7, line, sizeof line);
    EXPECT_STREQ(line, "DInput error: NO SUCH ERROR [7]");

    vidFormatDisplayResult(static_cast<int32_t>(0x887601C2), line, sizeof line);
    EXPECT_NE(std::strstr(line, "[-2005532222]"), nullptr);
}

TEST(DxResults, TheLongestRowStillEndsWithItsCodeInTheLineBuffer) {
    const VidResultText* longest = &vidDisplayResults[0];
    for (const VidResultText& row : vidDisplayResults) {
        if (std::strlen(row.text) > std::strlen(longest->text)) longest = &row;
    }
    char line[VID_RESULT_LINE_SIZE];
    vidFormatDisplayResult(longest->code, line, sizeof line);
    // Appended: g++ 12 at -O3 gives "literal" + std::string a false -Wrestrict (GCC bug 105329).
    std::string expected = std::string("[").append(std::to_string(static_cast<long>(longest->code))).append("]");
    std::string got = line;
    EXPECT_EQ(got.substr(got.size() - expected.size()), expected);
    // A short buffer cuts the line but keeps it terminated.
    char small[16];
    vidFormatInputResult(0, small, sizeof small);
    EXPECT_EQ(std::strlen(small), sizeof small - 1);
}

}  // namespace
