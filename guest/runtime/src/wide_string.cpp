// std::wstring: the members of the shared string exported for wchar_t, the
// narrow string's routines run with 4-byte elements. Fewer members than the
// narrow string: only those the guest calls out of line.
#include "host_names.h"
#include "shared_string_members.h"

namespace std {

template wstring::size_type wstring::_Rep::_S_empty_rep_storage[];
static_assert(sizeof(wstring::_Rep::_S_empty_rep_storage) == 16, "a header and a zero element: 16 bytes");
template const wchar_t wstring::_Rep::_S_terminal;
template wstring::_Rep* wstring::_Rep::_S_create(size_type, size_type, const allocator<wchar_t>&);
template void wstring::_Rep::_M_dispose(const allocator<wchar_t>&);
template void wstring::_Rep::_M_destroy(const allocator<wchar_t>&);
template void wstring::_Rep::_M_set_length_and_sharable(size_type);
template wchar_t* wstring::_Rep::_M_refdata() throw();
template wstring::_Rep& wstring::_S_empty_rep();
template wstring::_Alloc_hider::_Alloc_hider(wchar_t*, const allocator<wchar_t>&);
template void wstring::_S_copy_chars(wchar_t*, const_iterator, const_iterator);
template void wstring::_M_leak_hard();
template void wstring::_M_mutate(size_type, size_type, size_type);

template wstring::basic_string();
template wstring::basic_string(const wchar_t*, const allocator<wchar_t>&);
template wstring::basic_string(const wchar_t*, size_type, const allocator<wchar_t>&);
template wstring::basic_string(const wstring&);
template wstring::~basic_string();

template wstring& wstring::assign(const wchar_t*, size_type);
template wstring& wstring::assign(const wstring&);
template wstring& wstring::operator=(const wstring&);
template wstring& wstring::append(const wchar_t*, size_type);
template wstring& wstring::append(const wstring&);
template wstring& wstring::operator+=(const wstring&);
template wstring& wstring::operator+=(const wchar_t*);
template wstring& wstring::operator+=(wchar_t);
template void wstring::push_back(wchar_t);

template void wstring::resize(size_type, wchar_t);
template void wstring::resize(size_type);
template void wstring::reserve(size_type);

template wstring::reference wstring::operator[](size_type);
template wstring::iterator wstring::begin();
template wstring::iterator wstring::end();
template wstring::iterator wstring::erase(iterator, iterator);

template wstring::size_type wstring::size() const;
template wstring::size_type wstring::length() const;
template wstring::size_type wstring::find(const wchar_t*, size_type, size_type) const;
template wstring::size_type wstring::find(const wstring&, size_type) const;
template wstring::size_type wstring::find(wchar_t, size_type) const;
template wstring::size_type wstring::rfind(const wstring&, size_type) const;
template int wstring::compare(const wstring&) const;
template int wstring::compare(const wchar_t*) const;
template wstring wstring::substr(size_type, size_type) const;

}

// Exported in their complete-object form only.
#define TORVEL_WSTRING "SbIwSt11char_traitsIwESaIwEE"
TORVEL_HIDE_SYMBOL("_ZN" TORVEL_WSTRING "12_Alloc_hiderC2EPwRKS1_");
TORVEL_HIDE_SYMBOL("_ZN" TORVEL_WSTRING "C2EPKwRKS1_");
TORVEL_HIDE_SYMBOL("_ZN" TORVEL_WSTRING "C2EPKw" TORVEL_SIZE_MANGLING "RKS1_");
TORVEL_HIDE_SYMBOL("_ZN" TORVEL_WSTRING "C2ERKS2_");
