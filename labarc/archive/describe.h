// One description of each composite's run of entries, walked in every direction.
//
// A composite (a font, a text object, an axis, ...) has one function
//
//   template <class Io> bool labarc::Describe(const Io& io, Composite& value);
//
// in the describe header of its folder, listing its entries in file order. The archive's writer
// and reader are two directions over that list, so they cannot drift apart; a third direction
// that only records each entry's label and value type gives the composite's schema without
// repeating a label. Describe returns false at the first step that fails; it never reports:
// the direction's caller does that.
//
// An Io direction offers these const members, each returning true when the step succeeded:
//
//   io(label, value)             A labelled entry of one value type (int, UINT, long, BYTE,
//                                double, unsigned long for a colour, CString, tagRECT, CSize,
//                                tagPOINT, DPOINT, CDate). `label` is a const char*.
//   io(composite)                A nested composite. The writer and the reader go through the
//                                archive's public Write/Read of that type, so each level of a
//                                failure is reported as at the top; a schema direction may walk
//                                it through Describe(io, composite) instead.
//   io.Line(text)                An unlabelled line: written as `text` alone, without "=";
//                                read as the whole next line into `text` (a CString).
//   io.Formatted(label, value, format)
//                                An entry written as the CString that format(value) makes and
//                                read as the value type of `value`.
//   io.Property(label, object, get, set)
//                                An entry reached through accessors: written from
//                                std::invoke(get, object); read as PropertyType<decltype(set)>
//                                and stored by (object.*set)(v) for a member setter, or by
//                                set(object, v, archive) for a free function.
//   io.Check(label, value, least, most)
//                                A check of the int entry `label` just written or read: fails,
//                                naming the entry and the values it allows, unless least <=
//                                value <= most. Directions that hold no real values pass it.
//   io.OnRead(step)              A step only the reader takes, right here in the sequence:
//                                step(const CArchiveEx&) -> bool (a clamp, a conversion).
//   io.Blocks(count, block)      block(slot) -> bool for slot 0 to count - 1. `count` is an int,
//                                or a BlockCount whose reader count depends on the version.
//
// A direction that walks nested composites itself calls Describe(*this, nested) unqualified from
// a class in namespace labarc, so that every overload included before its use is found.
//
// Writers hand Describe their value through a const_cast: no writer step changes the value, and
// reader-only steps never run while writing.
#pragma once

#include <type_traits>

class CArchiveEx;

namespace labarc {

// A number of blocks that older archives hold fewer of: `count` blocks in the format written
// today, `olderCount` in archives whose version is `olderUpTo` or lower.
struct BlockCount {
  int count;
  int olderCount;
  double olderUpTo;
};

// The value type a property's setter takes, which is the type its entry is read as.
template <class Set>
struct PropertyTypeOf;
template <class Object, class T>
struct PropertyTypeOf<void (Object::*)(T)> {
  using type = std::remove_cvref_t<T>;
};
template <class Object, class T>
struct PropertyTypeOf<void (*)(Object&, T, const CArchiveEx&)> {
  using type = std::remove_cvref_t<T>;
};
template <class Set>
using PropertyType = typename PropertyTypeOf<Set>::type;

// What every direction that only walks a description shares: checks and reader-only steps pass,
// and each block is visited once per slot. A walker adds its own Blocks(const BlockCount&).
struct DescriptionWalk {
  static bool Check(const char*, int, int, int) { return true; }
  template <class Step>
  static bool OnRead(Step) {
    return true;
  }
  template <class Block>
  static bool Blocks(int count, Block block) {
    for (int slot = 0; slot < count; ++slot) block(slot);
    return true;
  }
};

}  // namespace labarc
