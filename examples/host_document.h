// The example host's document and its two sections, each described once: the same list stores
// them, loads them all-or-nothing and gives the host's schema for `labarc check --schema`.
#pragma once

#include <labarc/document/host_sections.h>
#include <labarc/labarc.h>

struct Document {
  CString title = "Calibration run";
  int sampleCount = 12;
  double gain = 2.5;
  unsigned long background = RGB(255, 255, 240);  // a colour
  BYTE channel = 3;
  long offset = -40;
  CString operatorName = "R. Ames";
};

template <class Io>
bool DescribeRun(const Io& io, Document& doc) {
  return io.Section("Run") && io("Title", doc.title) && io("Sample Count", doc.sampleCount) &&
         io("Gain", doc.gain) && io("Background", doc.background);
}

template <class Io>
bool DescribeInstrument(const Io& io, Document& doc) {
  return io.Section("Instrument") && io("Channel", doc.channel) && io("Offset", doc.offset) &&
         io("Operator", doc.operatorName);
}

// The whole document after its header, for StoreSections, LoadSections and AddToSchema.
inline constexpr auto kDocumentSections = [](const auto& io, Document& doc) {
  return DescribeRun(io, doc) && DescribeInstrument(io, doc);
};

inline constexpr char kApplName[] = "Example Plotter";

// The host's schema, as `labarc check --schema` reads it.
inline std::string DocumentSchema() {
  labarc::HostSchema schema;
  schema.application = kApplName;
  labarc::AddToSchema<Document>(schema, kDocumentSections);
  return labarc::HostSchemaJson(schema);
}
