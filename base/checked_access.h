// Checked element access to the program's containers.
//
// A bad index never reads outside a container: it writes "err V[i] ( n , s )"
// (vectors) or "err L[i] ( n , s )" (lists) to the error log and the report,
// asks the main window to close (the orderly stop), and the caller goes on
// with element 0 of the vector or with the accessor's own fallback element
// of the list, so that the current frame can finish on valid memory. Only an
// empty vector, which has no element to give, raises std::out_of_range.
#pragma once

#include <iterator>
#include <list>
#include <stdexcept>
#include <vector>

void ReportBadIndex(const char* kind, int index, std::size_t count, std::size_t elementSize);

template <class T>
T& CheckedAt(std::vector<T>& v, int i) {
  if (i >= 0 && static_cast<std::size_t>(i) < v.size()) return v[static_cast<std::size_t>(i)];
  ReportBadIndex("V", i, v.size(), sizeof(T));
  if (v.empty()) throw std::out_of_range("invalid vector<T> subscript");
  return v.front();
}

template <class T>
const T& CheckedAt(const std::vector<T>& v, int i) {
  return CheckedAt(const_cast<std::vector<T>&>(v), i);
}

template <class T>
T& CheckedAtList(std::list<T>& l, int i) {
  if (i >= 0 && static_cast<std::size_t>(i) < l.size()) return *std::next(l.begin(), i);
  ReportBadIndex("L", i, l.size(), sizeof(T));
  static T fallback;  // shared by every failure of this element type
  return fallback;
}

template <class T>
void FillVector(std::vector<T>& v, T value) {
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = value;
}

// Removes every element equal to p; true when one was removed.
template <class T>
bool RemoveAll(std::vector<T>& v, const T& p) {
  const auto oldSize = v.size();
  std::erase(v, p);
  return v.size() != oldSize;
}

// Inserts a copy so that it becomes element i; i at or past the end appends.
template <class T>
void ListInsertAt(std::list<T>& l, int i, const T& value) {
  auto at = l.begin();
  for (int n = 0; n < i && at != l.end(); ++n) ++at;
  l.insert(at, value);
}

// Erases element i and returns the element after it; past the end erases
// nothing and returns the end.
template <class T>
typename std::list<T>::iterator ListEraseAt(std::list<T>& l, int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= l.size()) return l.end();
  return l.erase(std::next(l.begin(), i));
}
