#!/usr/bin/env python3
"""Writes data/QuorelGAS.dat, the temperature table of the AUX-1 input.

The file holds 1024 records, one per 10-bit ADC value 0..1023, each a signed
16-bit little-endian temperature in 0.1 degC.

Sensor model: a typical automotive NTC coolant/reducer temperature sensor
on a pull-up resistor to the converter's reference.

    NTC:        R25 = 2200 ohm at 25 degC, beta = 3950 K
                R(T) = R25 * exp(B * (1/T - 1/T25)), T in kelvin
    Pull-up:    R_PULL = 2200 ohm from the 5 V reference to the input;
                the NTC goes from the input to ground
    Converter:  10 bits, reference 5 V = 1023 counts
                adc = 1023 * R / (R + R_PULL)   (midpoint of code i: i + 0.5)

For ADC value i the sensor resistance is R = R_PULL * x / (1 - x) with
x = (i + 0.5) / 1024, and the temperature follows from the beta equation,
rounded to 0.1 degC and clamped to -40.0 .. 150.0 degC (the sensor's rated
range). Higher ADC values mean colder; the table falls monotonically
between the two clamps. Code 0 reads as a shorted sensor and code 1023 as
an open one; both sit on the clamps.

Run from anywhere: python3 scripts/make_temperature_table.py [output]
"""

import math
import os
import struct
import sys

R25 = 2200.0
BETA = 3950.0
T25 = 298.15
R_PULL = 2200.0
ADC_COUNT = 1024
T_MIN_TENTHS = -400
T_MAX_TENTHS = 1500


def temperature_tenths(adc):
    """Temperature in 0.1 degC for one ADC value under the model."""
    x = (adc + 0.5) / ADC_COUNT
    r = R_PULL * x / (1.0 - x)
    kelvin = 1.0 / (1.0 / T25 + math.log(r / R25) / BETA)
    tenths = round((kelvin - 273.15) * 10.0)
    return max(T_MIN_TENTHS, min(T_MAX_TENTHS, tenths))


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, "data", "QuorelGAS.dat")
    data = b"".join(struct.pack("<h", temperature_tenths(i)) for i in range(ADC_COUNT))
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    tmp = out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, out)
    print(f"{out}: {len(data)} bytes")


if __name__ == "__main__":
    main()
