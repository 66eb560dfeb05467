#pragma once

#include "core/base/TextLookup.h"

#include <string>

namespace trevolin::device {

// What a device result (ReportExchange.h) means, in words for the user: a
// clause without a final full stop, for messages such as "cannot read the
// key tables: <clause>.". The language file's text is used where it has
// one for the result (its final full stop dropped); the rest are the
// program's own English.
std::string DescribeResult(int result, const base::TextLookup& texts);

}  // namespace trevolin::device
