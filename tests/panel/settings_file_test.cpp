#include "panel/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const SettingsFileHeader kHeader{"FOGGER-ONE", "2v15", "2026-12-07 14:03:22",
                                 "Kelo Configuration 1.4"};
// Bits no control shows, a run time past the list, bytes 9 to 11, calibration bytes 7 to 11.
const MachineBlocks kUnusual{{21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF},
                             {12, 4, 20, 45, 1, 2, 3, 4, 5}};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// Saved and read back, every value of every byte of both blocks comes back as it was,
// with the named lines agreeing with the blocks and nothing to tell.
TEST(SettingsFile, EveryValueOfEveryByteOfBothBlocksComesBack) {
  std::vector<std::string> faults;
  for (const bool calibration : {false, true}) {
    for (std::size_t byte = 0; byte < PayloadBytes().size(); ++byte) {
      for (int value = 0; value <= 0xFF; ++value) {
        MachineBlocks blocks = kUnusual;
        (calibration ? blocks.calibration : blocks.settings)[byte] = static_cast<uint8_t>(value);
        const auto read = ParseSettingsFile(SettingsFileText(kHeader, blocks));
        const auto* file = std::get_if<SettingsFile>(&read);
        if (file == nullptr || file->blocks != blocks || !file->notes.empty() ||
            file->header.machineName != kHeader.machineName ||
            file->header.firmwareRevision != kHeader.firmwareRevision) {
          faults.push_back(std::to_string(calibration) + "/" + std::to_string(byte + 3) + "=" +
                           std::to_string(value));
        }
      }
    }
  }
  EXPECT_EQ(faults, std::vector<std::string>{});
}

// A named line edited by hand holds for its setting alone; an unknown name is skipped and
// a value no control can show is left out, each told with its line.
TEST(SettingsFile, AnEditedLineHoldsForItsSettingAlone) {
  std::string text = SettingsFileText(kHeader, kUnusual);
  text = Replaced(text, "Run Time = \r\n", "Run Time = +30\r\nFog Colour = blue\r\n");
  text = Replaced(text, "Aux Out N/C = unchecked", "Aux Out N/C = checked");
  text = Replaced(text, "T_Max (C) = 45", "T_Max (C) = 46");
  text = Replaced(text, "PUMP ADJUST Min = +2", "PUMP ADJUST Min = +9");
  const auto read = ParseSettingsFile(text);
  ASSERT_TRUE(std::holds_alternative<SettingsFile>(read)) << std::get<std::string>(read);
  const SettingsFile& file = std::get<SettingsFile>(read);
  EXPECT_EQ(file.blocks, (MachineBlocks{{21, 30, 0xA3, 0x52, 0x04, 0x63, 0xDE, 0xAD, 0xBF},
                                        {12, 4, 20, 46, 1, 2, 3, 4, 5}}));
  EXPECT_EQ(file.notes, (std::vector<std::string>{
                            "Line 8: unknown setting \"Fog Colour\" skipped",
                            "Line 10: PUMP ADJUST Min cannot be \"+9\" (one of 0, +1, +2, +3, "
                            "+4, +5, +6, +7, +8); left out"}));
  EXPECT_TRUE(file.refused[3]);
}

// Files this program cannot read are refused whole, the line named.
TEST(SettingsFile, FilesNotToBeReadAreRefusedNamingTheLine) {
  const std::string good = SettingsFileText(kHeader, kUnusual);
  const std::string cut = good.substr(0, good.find("Settings block = 15 46") + 25);
  const struct {
    std::string text;
    std::string fault;
  } cases[] = {
      {"",
       "Line 1: not a Brumo settings file: its first line should read \"Brumo settings "
       "file, version 1\""},
      {std::string("\x7f"
                   "ELF\x02\x01\x01\0\0",
                   9),
       "Line 1: holds bytes that are not text; "
       "this is not a settings file"},
      {Replaced(good, "version 1", "version 2"),
       "Line 1: the file is of version 2, newer than this program reads (version 1)"},
      {Replaced(good, "Idle Enable", std::string("Idle\0Enable", 11)),
       "Line 15: holds bytes that are not text; this is not a settings file"},
      {Replaced(good, "Saved = ", "Saved = \xC3("),
       "Line 4: holds bytes that are not text; "
       "this is not a settings file"},
      {cut, "Line 25: the Settings block needs nine bytes in hex, two digits each"},
      {good.substr(0, good.find("Settings block")),
       "Line 24: the file ends without its \"Settings block\" line; it may have been cut short"},
      {Replaced(good, "Run Time =", "Run Time"), "Line 7: expected \"name = value\""},
      {good + "Run Time = +10\r\n", "Line 27: \"Run Time\" is given twice (first on line 7)"},
      {"Brumo settings file, version 1\r\n# " + std::string(kSettingsFileMaxBytes, 'x'),
       "Line 2: the file goes on past 64 KiB, far more than any settings file holds"},
  };
  for (const auto& c : cases) {
    const auto read = ParseSettingsFile(c.text);
    ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.fault;
    EXPECT_EQ(std::get<std::string>(read), c.fault);
  }
}

}  // namespace
