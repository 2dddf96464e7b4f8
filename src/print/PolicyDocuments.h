#pragma once

#include "print/Document.h"
#include "print/PolicyOffset.h"
#include "print/PrintRecord.h"

#include <functional>

namespace osago {

// The documents' titles, which are also the preview's tab captions without their padding.
QString documentTitle(DocumentIndex index);

// Makes the four documents of `record` in tab order, calling `documentDone` after each one.
DocumentList makePolicyDocuments(const PrintRecord& record, const PolicyOffset& offset,
                                 const std::function<void()>& documentDone = {});

// The policy page alone, for a new printer offset.
std::shared_ptr<const Document> makePolicyBlank(const PrintRecord& record, const PolicyOffset& offset);

} // namespace osago
