// A program outside the library: a vector owned by another component.
#include <nmx/nmx.h>

#include <cstdio>

int main() {
  NMX_platform::TComponent Owner;
  auto* Vec = new NMX_vector::TVector(&Owner);  // the owner deletes it
  Vec->SetName("Vec");
  if (!Vec->Resize(3)) return 1;
  Vec->FillSerial(1.0, 1.0);
  const double Len2 = Vec->CalcVecLeng() * Vec->CalcVecLeng();
  std::printf("%s owns %d component, |v|^2 = %.1f\n", Owner.ClassName().c_str(),
              Owner.ComponentCount(), Len2);
  return (Owner.ComponentCount() == 1 && Len2 > 13.99 && Len2 < 14.01) ? 0 : 1;
}
