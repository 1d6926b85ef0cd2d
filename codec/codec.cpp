#include "codec/codec.h"

#include "codec/input_check.h"

namespace orvelin::codec {

Rejection rejectionFor(Outcome outcome) {
    switch (outcome) {
    case Outcome::EmptyText:
        return {"Нет данных, которые нужно кодировать", "Ошибка", Icon::Error};
    case Outcome::BadCodeLength:
        return {"Пароль должен быть по длине не меньше 6 и не больше 10", "Ошибка",
                Icon::Error};
    case Outcome::NotEncoded:
    case Outcome::Ok:  // not a rejection; answered rather than left undefined
        break;
    }
    return {"Текст не является закодированным либо код испорчен.\n"
            "Декодирование не возможно!",
            "Ошибка", Icon::Warning};
}

std::int32_t KeyDigest(std::string_view code) {
    const std::size_t length = code.size();
    if (length < kMinCodeLength || length > kMaxCodeLength) return 0;
    // The first character takes no part in the sum.
    std::int32_t sum = 0;
    for (std::size_t i = 1; i < length; ++i)
        sum += static_cast<unsigned char>(code[i]) % 10;
    const std::int32_t middle = static_cast<unsigned char>(code[length / 2]);
    return 255 * sum + middle * static_cast<std::int32_t>(length);
}

Outcome checkInput(std::string_view text, std::string_view code) {
    if (text.empty()) return Outcome::EmptyText;
    if (code.size() < kMinCodeLength || code.size() > kMaxCodeLength)
        return Outcome::BadCodeLength;
    return Outcome::Ok;
}

}  // namespace orvelin::codec
