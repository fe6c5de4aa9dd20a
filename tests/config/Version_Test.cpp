#include "config/Quorel_Configuration.h"
#include "config/Quorel_Version.h"

#include "Test_Print.h"

#include <gtest/gtest.h>

namespace {

const Model_Names Models = {"KYT-4", "KYT-6", "KYT-8"};

struct Version_Case
{
    const char* name;
    const char* version;
    int number;
};

std::ostream& operator<<(std::ostream& out, const Version_Case& c)
{
    return out << '"' << c.name << "\" \"" << c.version << '"';
}

class Version_Number_From : public ::testing::TestWithParam<Version_Case>
{
};

TEST_P(Version_Number_From, Text)
{
    const Version_Case& c = GetParam();
    EXPECT_EQ(Derive_Version_Number(c.name, c.version), c.number);
}

INSTANTIATE_TEST_SUITE_P(Texts, Version_Number_From,
                         ::testing::Values(Version_Case{"KYT-4", "4.17", 417}, Version_Case{"KYT-6", "6.05", 605},
                                           Version_Case{"KYT-8", "8.19", 819}, Version_Case{"KYT-4", "4.5", 405},
                                           Version_Case{"KYT-4", "8", 8}, Version_Case{"KYT-4", "4.x", 0},
                                           Version_Case{"KYT-4", "x.17", 0}, Version_Case{"KYT-4", "4.", 0},
                                           Version_Case{"KYT-4", ".17", 0}, Version_Case{"KYT-4", "", 0},
                                           Version_Case{"KYT-4", "4.1.7", 0}, Version_Case{"KYT-4", "-4.17", 0},
                                           Version_Case{"KYT-4", "4 .17", 0},
                                           Version_Case{"KYT-4", "99999999999.1", 0},
                                           Version_Case{"", "4.17", 0}, Version_Case{"Unknow", "4.17", 417}));

struct Predicate_Case
{
    int number;
    bool family;
    bool restart_drop;   // minor >= 15
    bool hydr_cond;      // minor >= 16
    bool two_fuel;       // minor >= 17
    bool two_fuel_delay; // minor >= 19
    int inject_num_max;
};

std::ostream& operator<<(std::ostream& out, const Predicate_Case& c) { return out << c.number; }

class Version_Predicates : public ::testing::TestWithParam<Predicate_Case>
{
};

TEST_P(Version_Predicates, AtTheirBoundaries)
{
    const Predicate_Case& c = GetParam();
    EXPECT_EQ(Version_In_Family(c.number), c.family);
    EXPECT_EQ(Version_Has_Restart_Press_Drop(c.number), c.restart_drop);
    EXPECT_EQ(Version_Has_Hydr_Cond_And_Delay(c.number), c.hydr_cond);
    EXPECT_EQ(Version_Has_2Fuel(c.number), c.two_fuel);
    EXPECT_EQ(Version_Has_2Fuel_Delay(c.number), c.two_fuel_delay);
    EXPECT_EQ(Inject_Num_Max(c.number), c.inject_num_max);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, Version_Predicates,
    ::testing::Values(Predicate_Case{0, false, false, false, false, false, 8},
                      Predicate_Case{8, false, false, false, false, false, 8},
                      Predicate_Case{399, false, false, false, false, false, 8},
                      Predicate_Case{400, true, false, false, false, false, 4},
                      Predicate_Case{414, true, false, false, false, false, 4},
                      Predicate_Case{415, true, true, false, false, false, 4},
                      Predicate_Case{416, true, true, true, false, false, 4},
                      Predicate_Case{417, true, true, true, true, false, 4},
                      Predicate_Case{418, true, true, true, true, false, 4},
                      Predicate_Case{419, true, true, true, true, true, 4},
                      Predicate_Case{499, true, true, true, true, true, 4},
                      Predicate_Case{500, false, false, false, false, false, 8},
                      Predicate_Case{519, false, false, false, false, false, 8},
                      Predicate_Case{599, false, false, false, false, false, 8},
                      Predicate_Case{600, true, false, false, false, false, 6},
                      Predicate_Case{617, true, true, true, true, false, 6},
                      Predicate_Case{699, true, true, true, true, true, 6},
                      Predicate_Case{700, false, false, false, false, false, 8},
                      Predicate_Case{719, false, false, false, false, false, 8},
                      Predicate_Case{800, true, false, false, false, false, 8},
                      Predicate_Case{816, true, true, true, false, false, 8},
                      Predicate_Case{899, true, true, true, true, true, 8},
                      Predicate_Case{900, false, false, false, false, false, 8},
                      Predicate_Case{919, false, false, false, false, false, 8}));

struct Name_Case
{
    const char* in;
    const char* out;
};

std::ostream& operator<<(std::ostream& out, const Name_Case& c) { return out << '"' << c.in << '"'; }

class Program_Name_Normalised : public ::testing::TestWithParam<Name_Case>
{
};

TEST_P(Program_Name_Normalised, ToModelName)
{
    const Name_Case& c = GetParam();
    EXPECT_EQ(Normalise_Program_Name(QString::fromUtf8(c.in), Models), QString::fromUtf8(c.out));
}

INSTANTIATE_TEST_SUITE_P(
    Names, Program_Name_Normalised,
    ::testing::Values(Name_Case{"QGstreamLG4", "KYT-4"}, Name_Case{"QGstreamLG44", "KYT-4"},
                      Name_Case{"qgstreamlg4", "KYT-4"}, Name_Case{" QG stream LG 4 ", "KYT-4"},
                      Name_Case{"QGSTREAMLG6", "KYT-6"}, Name_Case{"QGstream LG8", "KYT-8"},
                      Name_Case{"QGstreamLG444", "Unknow"}, Name_Case{"QGstreamLG5", "Unknow"},
                      Name_Case{"QGstreamLG", "Unknow"}, Name_Case{"QGstream\tLG4", "Unknow"},
                      Name_Case{"Mirabo", "Unknow"}, Name_Case{"Unknow", "Unknow"}, Name_Case{"", ""},
                      // Names already normalised, as a saved file holds them, stay.
                      Name_Case{"KYT-4", "KYT-4"}, Name_Case{"KYT-8", "KYT-8"}, Name_Case{"kyt-6", "KYT-6"}));

TEST(Program_Name, NormalisationIsIdempotent)
{
    for (const char* name : {"QGstreamLG4", "QGstreamLG6", "QGstreamLG8", "other", ""}) {
        const QString once = Normalise_Program_Name(name, Models);
        EXPECT_EQ(Normalise_Program_Name(once, Models), once) << name;
    }
}

TEST(Identity_Setters, KeepVersionNumberDerived)
{
    Configuration_Class config;
    config.Set_Program_Version("4.17");
    EXPECT_EQ(config.Version_Number, 0) << "no model name yet";
    config.Set_Program_Name("QGstreamLG4", Models);
    EXPECT_EQ(config.Program_Name, "KYT-4");
    EXPECT_EQ(config.Version_Number, 417);
    config.Set_Program_Version("6.19");
    EXPECT_EQ(config.Version_Number, 619);
    config.Set_Program_Name("", Models);
    EXPECT_EQ(config.Version_Number, 0);
}

}   // namespace

namespace {

TEST(Two_Fuel_Temperature, FieldByVersion)
{
    EXPECT_EQ(Two_Fuel_Temperature_Field(417), &Configuration_Class::GPG_2Fuel_Temp);
    EXPECT_EQ(Two_Fuel_Temperature_Field(418), &Configuration_Class::GPG_2Fuel_Temp);
    EXPECT_EQ(Two_Fuel_Temperature_Field(419), &Configuration_Class::GPG_2Fuel_Delay);
    EXPECT_EQ(Two_Fuel_Temperature_Field(819), &Configuration_Class::GPG_2Fuel_Delay);
    EXPECT_EQ(Two_Fuel_Temperature_Field(519), &Configuration_Class::GPG_2Fuel_Temp);
}

}   // namespace
