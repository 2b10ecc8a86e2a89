#include "setupparameters.h"

#include <algorithm>
#include <cassert>

namespace {

template <int Order>
double &HarmonicK(TEncoderSetup &Setup)
{
  return Setup.Signal.Harmonic[Order];
}

}  // namespace

double TSetupParameter::In(const TEncoderSetup &Setup) const
{
  // Reach only points at the member; nothing is written through it here.
  return Reach(const_cast<TEncoderSetup &>(Setup));
}

std::string TSetupParameter::Quantity() const
{
  assert(Part == TParameterPart::Channel);
  const std::string name = Name;
  return name.substr(0, name.rfind('-'));
}

const std::vector<TSetupParameter> &SetupParameters()
{
  // Name, key, label, unit, part, channel, range, sweeps, toleranced,
  // --help's value name and sentence, and where a setup keeps it.
  using P = TParameterPart;
  static const std::vector<TSetupParameter> parameters = {
      {"pitch", "pitch", "Scale Pitch", "mm", P::Scale, -1, &PitchRange, false, false, "value",
       "Scale pitch in mm (default %1).", [](TEncoderSetup &s) -> double & { return s.Pitch; }},
      {"resolution", "resolution", "Interpolated Resolution", "mm", P::Scale, -1, &ResolutionRange,
       false, false, "value", "Interpolated resolution in mm (default %1).",
       [](TEncoderSetup &s) -> double & { return s.Resolution; }},
      {"gain-a", "gain_a", "Gain", "", P::Channel, 0, &GainRange, true, true, "value",
       "Gain of channel A (SIN), %1.", [](TEncoderSetup &s) -> double & { return s.Gain[0]; }},
      {"gain-b", "gain_b", "Gain", "", P::Channel, 1, &GainRange, true, true, "value",
       "Gain of channel B (COS), %1.", [](TEncoderSetup &s) -> double & { return s.Gain[1]; }},
      {"offset-a", "offset_a", "Offset", "", P::Channel, 0, &OffsetRange, true, true, "value",
       "Offset of channel A, %1.", [](TEncoderSetup &s) -> double & { return s.Offset[0]; }},
      {"offset-b", "offset_b", "Offset", "", P::Channel, 1, &OffsetRange, true, true, "value",
       "Offset of channel B, %1.", [](TEncoderSetup &s) -> double & { return s.Offset[1]; }},
      {"phase-a", "phase_a", "Phase", "rad", P::Channel, 0, &PhaseRange, true, true, "value",
       "Phase of channel A in radians, %1.",
       [](TEncoderSetup &s) -> double & { return s.Phase[0]; }},
      {"phase-b", "phase_b", "Phase", "rad", P::Channel, 1, &PhaseRange, true, true, "value",
       "Phase of channel B in radians, %1.",
       [](TEncoderSetup &s) -> double & { return s.Phase[1]; }},
      {"harmonic2", "harmonic2", "Harmonic 2", "", P::Harmonic, -1, &HarmonicRange, true, true, "K",
       "", HarmonicK<2>},
      {"harmonic3", "harmonic3", "Third harmonic", "", P::Signal, -1, &HarmonicRange, true, true,
       "K",
       "Third harmonic of the grating's waveform sin x + K sin(3x + PHI), relative to the "
       "fundamental, %1.",
       HarmonicK<3>},
      {"harmonic3-phase", "harmonic3_phase_rad", "Third harmonic phase", "rad", P::Signal, -1,
       &HarmonicPhaseRange, false, false, "PHI", "Phase PHI of the third harmonic in radians, %1.",
       [](TEncoderSetup &s) -> double & { return s.Signal.HarmonicPhase[3]; }},
      {"harmonic4", "harmonic4", "Harmonic 4", "", P::Harmonic, -1, &HarmonicRange, true, true, "K",
       "", HarmonicK<4>},
      {"harmonic5", "harmonic5", "Harmonic 5", "", P::Harmonic, -1, &HarmonicRange, true, true, "K",
       "", HarmonicK<5>},
      {"harmonic6", "harmonic6", "Harmonic 6", "", P::Harmonic, -1, &HarmonicRange, true, true, "K",
       "", HarmonicK<6>},
      {"harmonic7", "harmonic7", "Harmonic 7", "", P::Harmonic, -1, &HarmonicRange, true, true, "K",
       "", HarmonicK<7>},
      {"harmonic8", "harmonic8", "Harmonic 8", "", P::Harmonic, -1, &HarmonicRange, true, true, "K",
       "", HarmonicK<8>},
      {"harmonic9", "harmonic9", "Harmonic 9", "", P::Harmonic, -1, &HarmonicRange, true, true, "K",
       "", HarmonicK<9>},
      {"noise", "noise", "Noise", "", P::Signal, -1, &NoiseRange, true, false, "SIGMA",
       "Gaussian noise added to every value of each channel before the limit, its standard "
       "deviation in the channels' units, %1; drawn from --seed.",
       [](TEncoderSetup &s) -> double & { return s.Signal.Noise; }},
  };
  return parameters;
}

const std::vector<const TSetupParameter *> &ChannelParameters()
{
  static const std::vector<const TSetupParameter *> parameters = [] {
    std::vector<const TSetupParameter *> list;
    for (const TSetupParameter &parameter : SetupParameters())
      if (parameter.Part == TParameterPart::Channel)
        list.push_back(&parameter);
    std::stable_sort(
        list.begin(), list.end(),
        [](const TSetupParameter *P, const TSetupParameter *Q) { return P->Channel < Q->Channel; });
    return list;
  }();
  return parameters;
}

const TSetupParameter *FindSetupParameter(const std::string &Name)
{
  for (const TSetupParameter &parameter : SetupParameters())
    if (Name == parameter.Name)
      return &parameter;
  return nullptr;
}

const TSetupParameter &SetupParameter(const std::string &Name)
{
  const TSetupParameter *parameter = FindSetupParameter(Name);
  assert(parameter);
  return *parameter;
}
