#include "app/form/text_numbers.h"

#include "common/decimal_text.h"

namespace zelvio {

int IntegerOr(const std::string& text, int fallback) { return ParseDecimal(text).value_or(fallback); }

}  // namespace zelvio
