// The interface's texts, from the program's string tables.
#pragma once
#include <string>

// Text `id` of the string table; empty when there is none.
std::wstring Text(int id);
