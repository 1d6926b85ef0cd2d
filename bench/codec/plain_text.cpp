#include "plain_text.h"

#include <random>

namespace orvelin::bench {

namespace {

// Windows-1251 Cyrillic letters: 0xC0..0xDF capitals, 0xE0..0xFF small.
char cyrillicLetter(std::mt19937& random, bool capital) {
    return static_cast<char>((capital ? 0xC0 : 0xE0) + random() % 32);
}

char latinLetter(std::mt19937& random, bool capital) {
    return static_cast<char>((capital ? 'A' : 'a') + random() % 26);
}

void appendWord(std::string& text, std::mt19937& random, bool capital) {
    // Mostly Russian, now and then an English word.
    const bool latin = random() % 5 == 0;
    const std::size_t length = 1 + random() % 9;
    for (std::size_t i = 0; i < length; ++i) {
        const bool upper = capital && i == 0;
        text.push_back(latin ? latinLetter(random, upper) : cyrillicLetter(random, upper));
    }
}

}  // namespace

std::string plainText(std::size_t size) {
    static const char punctuation[] = {',', '.', ';', ':', '!', '?', '-'};
    std::mt19937 random(1251);
    std::string text;
    text.reserve(size + 16);
    std::size_t lineStart = 0;
    bool sentenceStart = true;
    while (text.size() < size) {
        appendWord(text, random, sentenceStart);
        sentenceStart = false;
        if (random() % 6 == 0) {
            const char mark = punctuation[random() % sizeof punctuation];
            text.push_back(mark);
            sentenceStart = mark == '.' || mark == '!' || mark == '?';
        }
        if (text.size() - lineStart > 60 + random() % 20) {
            text += "\r\n";
            lineStart = text.size();
        } else {
            text.push_back(' ');
        }
    }
    text.resize(size);
    return text;
}

std::string randomText(std::size_t size) {
    std::mt19937 random(255);
    std::uniform_int_distribution<int> value(1, 255);
    std::string text(size, '\0');
    for (char& c : text) c = static_cast<char>(value(random));
    return text;
}

}  // namespace orvelin::bench
