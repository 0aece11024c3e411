#include "tests/support/catalogue_samples.h"

namespace {

std::vector<Mutator::Bytes> bytesOfEach(const std::vector<std::string>& texts) {
    std::vector<Mutator::Bytes> all;
    for (const std::string& text : texts)
        all.push_back(bytesOf(text));
    return all;
}

// Sections of a valid catalogue; a sample is some of them in some order.
const std::vector<std::string> kSections = {
    "[General]\r\nPowerSaveTimeoutMulDiv=2,3\r\nPowerSaveTimeoutMax=120\r\nScrStartStyle=2\r\n",
    "[Type00]\r\nName=Floating\r\nMoveType=1\r\nFile.1024x0768=a.bmp,b.bmp\r\n"
    "MotionWhilePowerSave=2\r\nSkipIfReqFixedPos=1\r\n",
    "[Type01]\r\nName=Sprites\r\nMoveType=3\r\nFile.1280x1024=large.bmp\r\n"
    "File.1024x0768=small.bmp\r\nMotionWhilePowerSave=0\r\nSkipIfReqFixedPos=0\r\n",
    "[Type02]\r\nName=\x82\xA0\x82\xA2\r\nMoveType=2\r\nFile.1024x0768=\x95\x5C"
    "a.bmp\r\n",
    "[Type99]\r\nName=Last\r\nMoveType=5\r\nFile.0800x0600=s.bmp\r\n",
    "[General]\r\nResourcePath=%TEMP%\r\n",
};

Mutator::Rules catalogueMutationRules() {
    const std::vector<std::vector<std::string>> groups = {
        {"=", "[", "]", ";", ",", "\"", "\x01", " ", "%", "%TEMP%", "C:\\", "\x95\x5C", "\x81"},
        {"0", "1", "2", "3", "-1", "2147483647", "2147483648", "-2147483649", "4294967295"},
        {"Name=", "MoveType=", "File.1024x0768=", "File.1280x1024=", "ResourcePath="},
        {"MotionWhilePowerSave=", "SkipIfReqFixedPos=", "ScrStartStyle="},
        {"PowerSaveTimeoutMulDiv=", "PowerSaveTimeoutMax="},
        {"\r\n", "[Type00]\r\n", "[Type01]\r\n", "[General]\r\n"},
    };
    std::vector<std::string> tokens;
    for (const std::vector<std::string>& group : groups)
        tokens.insert(tokens.end(), group.begin(), group.end());
    return {{}, bytesOfEach(tokens), 4};
}

// Values at and past the limits that the readers check (305419896 is the marker of an
// absent number), put in place of valid ones.
const std::vector<std::string> kEdgeValues = [] {
    std::vector<std::string> values = {
        "0",         "1",          "2",          "3",           "4",           "-1",
        "-3",        "2147483647", "2147483648", "-2147483648", "-2147483649", "4294967295",
        "305419896", "",           " ",          "\x01",        "0,0",         "5,0",
        ",",         "2,-3",       "7,",         "x",           "%TEMP%\\.."};
    for (std::size_t length : {150, 1200})
        values.push_back(std::string(length, 'n'));
    values.push_back(std::string(600, '\\'));
    return values;
}();

// The sample with some of its values (after the first '=' of a line) replaced by edge values.
std::string withEdgeValues(const std::string& sample, Mutator& mutator) {
    std::string result;
    std::size_t start = 0;
    while (start < sample.size()) {
        std::size_t end = sample.find('\n', start);
        end = end == std::string::npos ? sample.size() : end + 1;
        std::string line = sample.substr(start, end - start);
        std::size_t equals = line.find('=');
        if (equals != std::string::npos && mutator.oneIn(3))
            line = line.substr(0, equals + 1) + mutator.pick(kEdgeValues) + "\r\n";
        result += line;
        start = end;
    }
    return result;
}

} // namespace

Mutator::Bytes CatalogueSamples::next() {
    static const Mutator::Rules rules = catalogueMutationRules();
    std::string sample;
    std::vector<std::string> sections = kSections;
    while (!sections.empty()) {
        std::size_t at = mutator_.below(sections.size());
        if (!mutator_.oneIn(4))
            sample += sections[at];
        sections.erase(sections.begin() + at);
    }
    return mutator_.mutate(bytesOf(withEdgeValues(sample, mutator_)), rules);
}
