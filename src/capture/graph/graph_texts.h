// Texts the capture graph produces: the message of a failed DirectShow call and the name
// under which an inspected graph appears in the running object table.
#pragma once

#include <cstdint>
#include <string>

namespace zelvio {

// The platform's text for a failure code (cut to 255 characters, trailing blanks and line
// breaks dropped) followed by " ($CODE)." with the code in upper-case hexadecimal.
std::string GraphErrorText(const std::string& platformText, int32_t result);

// The words for a failed call: DirectShow's text, unless it only spells the code again
// (empty, "0x80070003", "Error: 0x80070003", what DirectShow gives for a code of the system)
// and the system's text for that code has words in it. Without words the user is left with
// a number to look up; a missing folder must read as a missing folder.
std::string GraphResultWords(const std::string& graphText, const std::string& systemText);

// "FilterGraph %p pid %x": the graph's address as the Windows runtime prints a pointer
// (upper-case, zero-padded to the pointer width) and the process id in lower-case hex.
std::string RunningObjectName(uintptr_t graphAddress, uint32_t processId,
                              size_t pointerBytes = sizeof(void*));

}  // namespace zelvio
