// The game's files, as literals: the media carries no list of them.
#include "launcher/manifest.h"

#include <cstring>

const char* const installManifest[INSTALL_COUNT] = {
    // demo root
    "BKGFX.DLL", "BKSND.DLL", "BKINPUT.DLL", "Brakdemo.exe", "FILES.TXT",
    // DEMODATA
    "DEMODATA\\BK01.BK2", "DEMODATA\\BK02.BK2", "DEMODATA\\BK03.BK2", "DEMODATA\\BK04.BK2",
    "DEMODATA\\BK05.BK2", "DEMODATA\\BK06.BK2", "DEMODATA\\BK07.BK2", "DEMODATA\\BK08.BK2",
    "DEMODATA\\BK09.BK2", "DEMODATA\\BK10.BK2", "DEMODATA\\BK11.BK2", "DEMODATA\\BK12.BK2",
    "DEMODATA\\BK13.BK2", "DEMODATA\\BK14.BK2", "DEMODATA\\BK15.BK2", "DEMODATA\\BK16.BK2",
    "DEMODATA\\BK17.BK2", "DEMODATA\\BK18.BK2", "DEMODATA\\BK19.BK2", "DEMODATA\\BK20.BK2",
    "DEMODATA\\INTRO.FLC", "DEMODATA\\BK21.BK2", "DEMODATA\\BK22.BK2", "DEMODATA\\BK23.BK2",
    "DEMODATA\\BK24.BK2", "DEMODATA\\BK25.BK2", "DEMODATA\\BK26.BK2", "DEMODATA\\BK27.BK2",
    "DEMODATA\\BK28.BK2", "DEMODATA\\BK29.BK2", "DEMODATA\\BK30.BK2", "DEMODATA\\BK31.BK2",
    "DEMODATA\\BK32.BK2", "DEMODATA\\BK33.BK2", "DEMODATA\\BK34.BK2", "DEMODATA\\BK35.BK2",
    "DEMODATA\\BK36.BK2", "DEMODATA\\BK37.BK2", "DEMODATA\\BK38.BK2", "DEMODATA\\BK39.BK2",
    "DEMODATA\\CREDITS.SMK",
    // SIM
    "SIM\\TRACK1.MAP", "SIM\\TRACK2.MAP", "SIM\\TRACK3.MAP", "SIM\\TRACK4.MAP",
    "SIM\\TRACK5.MAP", "SIM\\TRACK6.MAP", "SIM\\TRACK7.MAP", "SIM\\TRACK8.MAP",
    "SIM\\CAR1.CFG", "SIM\\CAR2.CFG", "SIM\\CAR3.CFG", "SIM\\CAR4.CFG", "SIM\\CAR5.CFG",
    "SIM\\CAR6.CFG", "SIM\\SIMHOST.EXE", "SIM\\SIM.INI", "SIM\\DEMO.PRJ", "SIM\\NOTES.TXT",
    "SIM\\SIM.BWD", "SIM\\SIMCORE.DLL",
    // SIM\LAUNCH
    "SIM\\LAUNCH\\PAD1.SHP", "SIM\\LAUNCH\\PAD2.SHP", "SIM\\LAUNCH\\PAD3.SHP",
    "SIM\\LAUNCH\\PAD4.SHP", "SIM\\LAUNCH\\PAD5.SHP", "SIM\\LAUNCH\\PAD6.SHP",
};

// The game writes BRAKDEMO.PRM, .RUN and .BWD beside itself.
const char* const removeRoot[REMOVE_ROOT] = {
    "BKGFX.DLL", "BKSND.DLL", "BKINPUT.DLL", "Brakdemo.exe", "BRAKDEMO.PRM", "BRAKDEMO.RUN",
    "FILES.TXT", "BRAKDEMO.BWD",
};

const char* const removeDemodata[REMOVE_DEMODATA] = {
    "BK01.BK2", "BK02.BK2", "BK03.BK2", "BK04.BK2", "BK05.BK2", "BK06.BK2", "BK07.BK2",
    "BK08.BK2", "BK09.BK2", "BK10.BK2", "BK11.BK2", "BK12.BK2", "BK13.BK2", "BK14.BK2",
    "BK15.BK2", "BK16.BK2", "BK17.BK2", "BK18.BK2", "BK19.BK2", "BK20.BK2", "INTRO.FLC",
    "BK21.BK2", "BK22.BK2", "BK23.BK2", "BK24.BK2", "BK25.BK2", "BK26.BK2", "BK27.BK2",
    "BK28.BK2", "BK29.BK2", "BK30.BK2", "BK31.BK2", "BK32.BK2", "BK33.BK2", "BK34.BK2",
    "BK35.BK2", "BK36.BK2", "BK37.BK2", "BK38.BK2", "BK39.BK2", "CREDITS.SMK",
};

const char* const removeSim[REMOVE_SIM] = {
    "TRACK1.MAP", "TRACK2.MAP", "TRACK3.MAP", "TRACK4.MAP", "TRACK5.MAP", "TRACK6.MAP",
    "TRACK7.MAP", "TRACK8.MAP", "CAR1.CFG", "CAR2.CFG", "CAR3.CFG", "CAR4.CFG", "CAR5.CFG",
    "CAR6.CFG", "SIMHOST.EXE", "SIM.INI", "DEMO.PRJ", "NOTES.TXT", "SIM.BWD", "SIMCORE.DLL",
};

const char* const removeLaunch[REMOVE_LAUNCH] = {
    "PAD1.SHP", "PAD2.SHP", "PAD3.SHP", "PAD4.SHP", "PAD5.SHP", "PAD6.SHP",
};

size_t longestInstallEntry()
{
    size_t longest = 0;
    for (const char* entry : installManifest)
        if (std::strlen(entry) > longest)
            longest = std::strlen(entry);
    return longest;
}
