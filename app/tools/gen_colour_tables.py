#!/usr/bin/env python3
"""Writes the converter's two named-colour tables as C++ data.

Run once from the repository root; the generated files are committed:

    python3 app/tools/gen_colour_tables.py

German: the 206 entries below, as they are.

English: 1333 entries, the names below in table order ("name*n" marks a name
that occupies n adjacent entries). Each entry takes its value from a public
colour list that knows the name, in this order: X11's rgb.txt (Debian's
x11-common), the CSS/SVG named colours, POV-Ray's colors.inc (Debian's
povray-includes; its 0..1 reals become the nearest k/255). The entries of a
repeated name take different lists; where the lists run out, or give a colour
the name already has, the entry gets a variant of the name's first colour
(1/8 of the way to white for a dark colour, to black for a light one), so
each entry of a name has its own colour. A few rows are fixed (PINNED below),
and a name that no list knows takes its value from HAND_PICKED.

Components are stored as k/255 with six decimals. Three k are written one
unit higher in the last place (0.313726, 0.513726, 0.713726): with the
rounded value, 255 times the single-precision component truncates to k - 1.
"""

import argparse
import re
import sys
from pathlib import Path

GERMAN = """
aliceblau=F0F8FF, aliceblau=F0FFFF, altgold=FDF5E6, altrosa=FFE4E1, antikweiss=FAEBD7,
antikweiß=FAEBD7, aqua=00FFFF, aquamarineblau=7FFFD4, azur=F0FFFF, beige=F5F5DC,
blassgoldrutengelb=EEE8AA, blassgrün=98FB98, blasstürkis=AFEEEE, blassviolettrot=DB7093,
blau=0000FF, blaugrün=00FFFF, blauviolett=8A2BE2, blütenweiß=FFFAF0, braun=A52A2A,
cadetblau=5F9EA0, chiffongelb=FFFACD, cornflowerblau=6495ED, diestel=D8BFD8,
dodgerblau=1E90FF, dunkelblau=00008B, dunkelgold=B8860B, dunkelgoldrutengelb=B8860B,
dunkelgrau=A9A9A9, dunkelgrün=006400, dunkelkhaki=BDB76B, dunkellachs=E9967A,
dunkelmagenta=8B008B, dunkelolivegrün=556B2F, dunkelolivgrün=556B2F, dunkelorange=FF8C00,
dunkelorchid=9932CC, dunkelrot=8B0000, dunkelrot=800000, dunkelschieferblau=483D8B,
dunkelschiefergrau=2F4F4F, dunkelseegrün=8FBC8F, dunkeltürkis=008080, dunkeltürkis=00CED1,
dunkelviolett=800080, dunkelviolett=9400D3, dunkelzyan=008B8B, dunkle lachsfarbe=E9967A,
dunkle orchidee=9932CC, dunklelgrau=A9A9A9, dunkles khaki=BDB76B, dunkles magentarot=8B008B,
dunkles schiefergrau=2F4F4F, elfenbein=FFFFF0, floralweiss=FFFAF0, forstgrün=228B22,
frühlingsgrün=00FF7F, fuchsia=FF00FF, fuchsienfarbig=FF00FF, geisterweiß=F8F8FF,
geistweiss=F8F8FF, gelb=FFFF00, gelbbraun=D2B48C, gelbgrün=9ACD32, gelbgrün=32CD32,
gold=FFD700, goldrot=DAA520, goldrutengelb=DAA520, grasgrün=7CFC00, grau=808080,
grobes braun=DEB887, grün=008000, grüngelb=ADFF2F, heisspink=FF69B4, hellblau=ADD8E6,
helle lachsfarbe=FFA07A, helles korallenrot=F08080, helles schiefergrau=778899,
hellgelb=FFFFE0, hellgoldrutengelb=FAFAD2, hellgrau=D3D3D3, hellgrün=7FFF00, hellgrün=90EE90,
hellhimmelblau=F0FFFF, hellhimmelblau=87CEFA, hellrosa=FFB6C1, hellseegrün=20B2AA,
hellstahlblau=B0C4DE, hellzyan=E0FFFF, himmelblau=87CEEB, honigmelone=F0FFF0,
honigtau=F0FFF0, indigoblau=4B0082, indischrot=CD5C5C, kadettblau=5F9EA0, karmesinrot=DC143C,
kastanienbraun=800000, koralle=FF7F50, korallenrot=FF7F50, kornblumenblau=6495ED,
königsblau=4169E1, lachs=FA8072, lavendel=E6E6FA, lavendelbusch=FFF0F5, lavendelrosa=FFF0F5,
leichtblau=ADD8E6, leichtcoral=F08080, leichtgelb=FFFFE0, leichtgoldgelb=FAFAD2,
leichtgrau=D3D3D3, leichtgrün=90EE90, leichthimmelblau=87CEFA, leichtlachs=FFA07A,
leichtpink=FFB6C1, leichtseegrün=20B2AA, leichtstahlblau=B0C4DE, leichtzyan=E0FFFF,
leinen=FAF0E6, leuchtend rosa=FF69B4, limone=00FF00, limonegrün=32CD32, magentarot=FF00FF,
mais=FFF8DC, maisseide=FFF8DC, mandelweiß=FFEBCD, marine=000080, marineblau=000080,
mattes grau=696969, minzcreme=F5FFFA, mittelaquamarine=66CDAA, mittelaquamarineblau=66CDAA,
mittelblau=0000CD, mittelfrühlingsgrün=00FA9A, mittelgrün=00FA9A, mittelorchid=BA55D3,
mittelorchideenfarbig=BA55D3, mittelschieferblau=7B68EE, mittelseegrün=3CB371,
mitteltürkis=48D1CC, mittelviolett=9370DB, mittelviolett=9370D0, mittelviolettrot=C71585,
mitternachtsblau=191970, mokassinbeige=FFE4B5, muschel=FFF5EE, navajoweiss=FFDEAD,
navajoweiß=FFDEAD, ocker=A0522D, oliv=808000, olivedrab=6B8E23, olivegraubraun=6B8E23,
olivegrün=808000, orange=FFA500, orangerot=FF4500, orchide=DA70D6, orchidee=DA70D6,
paletürkis=AFEEEE, papaya=FFEFD5, papayacreme=FFEFD5, peru=CD853F, pfefferminzcreme=F5FFFA,
pfirsich=FFDAB9, pflaume=DDA0DD, pulverblau=B0E0E6, rasengrün=7CFC00, rauchweiß=F5F5F5,
rosa=FFC0CB, rosabraun=BC8F8F, rosigbraun=BC8F8F, rot=FF0000, royalblau=4169E1,
sandbraun=F4A460, sattelbraun=8B4513, schieferblau=6A5ACD, schiefergrau=708090,
schnee=FFFAFA, schneeweiß=FFFAFA, schokolade=D2691E, schwachgoldrot=EEE8AA,
schwachgrau=696969, schwachgrün=98FB98, schwachviolettrot=DB7093, schwarz=000000,
seegrün=2E8B57, silber=C0C0C0, stahlblau=4682B4, taubenblau=B0E0E6, thistle=D8BFD8,
tiefhimmelblau=00BFFF, tiefpink=FF1493, tiefrosa=FF1493, tomate=FF6347, tomatencreme=FFE4C4,
tomatenrot=FF6347, türkis=40E0D0, violett=800080, violett=EE82EE, waldgrün=228B22,
weiss=FFFFFF, weisserrauch=F5F5F5, weizen=F5DEB3, weiß=FFFFFF, ziegelrot=B22222,
ziegelstein=B22222, zitronenchiffon=FFFACD, zitronengrün=00FF00, zyan=00FFFF
"""

ENGLISH_NAMES = """
10% black, 20% black, 30% black, 40% black, 50% black, 60% black, 70% black, 80% black,
90% black, aliceblue*3, antiquewhite*2, antiquewhite1*2, antiquewhite2*2, antiquewhite3*2,
antiquewhite4*2, aquamarine*3, aquamarine1*2, aquamarine2*2, aquamarine3*2, aquamarine4*2,
army green, autumn orange, avocado green, azure*2, azure1, azure2*2, azure3*2, azure4*2,
baby blue, bakerschoc, banana yellow, beige, bisque*2, bisque1, bisque2*2, bisque3*2,
bisque4*2, black, blanchedalmond*2, blue, blue purple, blue violet, blue1*2, blue2*2,
blue3*2, blue4*2, blueviolet*3, brass, brick red, brightgold, bronze, bronze2, brown*3,
brown1*2, brown2*2, brown3*2, brown4, burlywood, burlywood1*2, burlywood2*2, burlywood3*2,
burlywood4*2, cadetblue*3, cadetblue1*2, cadetblue2*2, cadetblue3*2, cadetblue4*2, chalk,
chartreuse*3, chartreuse1, chartreuse2*2, chartreuse3*2, chartreuse4*2, chocolate*2,
chocolate1, chocolate2, chocolate3, chocolate4, coolcopper, copper, coral*3, coral1,
coral2*2, coral3*2, coral4*2, cornflowerblue*3, cornsilk*2, cornsilk1, cornsilk2*2,
cornsilk3*2, cornsilk4*2, crimson*2, cyan, cyan1*2, cyan2*2, cyan3*2, cyan4*2, dark brown,
dark green, darkblue, darkbrown, darkcyan, darkgoldenrod*2, darkgoldenrod1*2,
darkgoldenrod2*2, darkgoldenrod3*2, darkgoldenrod4*2, darkgray, darkgreen*3, darkgrey,
darkkhaki*2, darkmagenta, darkolivegreen*3, darkolivegreen1*2, darkolivegreen2*2,
darkolivegreen3*2, darkolivegreen4*2, darkorange*2, darkorange1*2, darkorange2*2,
darkorange3*2, darkorange4*2, darkorchid*3, darkorchid1*2, darkorchid2*2, darkorchid3*2,
darkorchid4*2, darkpurple, darkred, darksalmon*2, darksea green, darkseagreen*2,
darkseagreen1*2, darkseagreen2*2, darkseagreen3*2, darkseagreen4*2, darkslate blue,
darkslate gray, darkslate grey, darkslateblue*3, darkslategray*2, darkslategray1*2,
darkslategray2*2, darkslategray3*2, darkslategray4*2, darkslategrey, darktan,
darkturquoise*3, darkviolet*2, darkwood, deep azure, deep blue, deep navy blue, deep pink,
deep purple, deep river, deep rose, deep violet, deep yellow, deeppink*2, deeppink1,
deeppink2*2, deeppink3*2, deeppink4*2, deepskyblue*2, deepskyblue1, deepskyblue2*2,
deepskyblue3*2, deepskyblue4*2, desert blue, dimgray*3, dimgrey*2, dkgreencopper,
dodger blue, dodgerblue*2, dodgerblue1, dodgerblue2*2, dodgerblue3*2, dodgerblue4*2,
dull green, dusty plum, dusty rose, dustyrose, easter purple, electric blue, faded green,
faded pink, feldspar, firebrick*3, firebrick1*2, firebrick2*2, firebrick3*2, firebrick4,
flesh, floralwhite*2, forest green, forestgreen*3, gainsboro*2, ghost green, ghostwhite*2,
gold*3, gold1*2, gold2*2, gold3*2, gold4*2, goldenrod*3, goldenrod1*2, goldenrod2*2,
goldenrod3*2, goldenrod4*2, grape, grass green, gray*4, gray0*2, gray1, gray10, gray100,
gray11, gray12, gray13, gray14, gray15, gray16, gray17, gray18*2, gray19, gray2, gray20,
gray21*2, gray22, gray23*2, gray24*2, gray25*2, gray26*2, gray27*2, gray28*2, gray29*2,
gray3, gray30*2, gray31*2, gray32*2, gray33, gray34*2, gray35*2, gray36*2, gray37*2,
gray38*2, gray39*2, gray4, gray40*2, gray41*2, gray42*2, gray43*2, gray44*2, gray45*2,
gray46*2, gray47*2, gray48*2, gray49*2, gray5, gray50*2, gray51*2, gray52*2, gray53*2,
gray54*2, gray55*2, gray56*2, gray57*2, gray58*2, gray59*2, gray6, gray60*2, gray61*2,
gray62*2, gray63*2, gray64*2, gray65*2, gray66*2, gray67*2, gray68*2, gray69*2, gray7,
gray70*2, gray71*2, gray72*2, gray73*2, gray74*2, gray75*2, gray76*2, gray77*2, gray78*2,
gray79*2, gray8, gray80*2, gray81*2, gray82*2, gray83*2, gray84*2, gray85*2, gray86*2,
gray87*2, gray88*2, gray89*2, gray9, gray90*2, gray91*2, gray92*2, gray93*2, gray94*2,
gray95*2, gray96*2, gray97*2, gray98*2, gray99*2, green*2, green1*2, green2*2, green3*2,
green4*2, greencopper, greenyellow*3, grey*2, grey0, grey1, grey10, grey100, grey11, grey12,
grey13, grey14, grey15, grey16, grey17, grey18, grey19, grey2, grey20, grey21, grey22,
grey23, grey24, grey25, grey26, grey27, grey28, grey29, grey3, grey30, grey31, grey32,
grey33, grey34, grey35, grey36, grey37, grey38, grey39, grey4, grey40, grey41, grey42,
grey43, grey44, grey45, grey46, grey47, grey48, grey49, grey5, grey50, grey51, grey52,
grey53, grey54, grey55, grey56, grey57, grey58, grey59, grey6, grey60, grey61, grey62,
grey63, grey64, grey65, grey66, grey67, grey68, grey69, grey7, grey70, grey71, grey72,
grey73, grey74, grey75, grey76, grey77, grey78, grey79, grey8, grey80, grey81, grey82,
grey83, grey84, grey85, grey86, grey87, grey88, grey89, grey9, grey90, grey91, grey92,
grey93, grey94, grey95, grey96, grey97, grey98, grey99, honeydew*2, honeydew1, honeydew2*2,
honeydew3*2, honeydew4*2, hot pink, hotpink*2, hotpink1*2, hotpink2*2, hotpink3*2,
hotpink4*2, huntersgreen, ice blue, indianred*3, indianred1*2, indianred2*2, indianred3*2,
indianred4*2, indigo, ivory*2, ivory1, ivory2*2, ivory3*2, ivory4*2, kentucky green, khaki*4,
khaki1*2, khaki2*2, khaki3*2, khaki4*2, lavender*2, lavenderblush*2, lavenderblush1,
lavenderblush2*2, lavenderblush3*2, lavenderblush4*2, lawngreen*2, lemonchiffon*2,
lemonchiffon1, lemonchiffon2*2, lemonchiffon3*2, lemonchiffon4*2, light bluegreen,
light green, light orange, light purple, light violet, light yellow, light_purple,
lightblue*3, lightblue1*2, lightblue2*2, lightblue3*2, lightblue4*2, lightcoral*2, lightcyan,
lightcyan1, lightcyan2*2, lightcyan3*2, lightcyan4*2, lightgoldenrod*2, lightgoldenrod1*2,
lightgoldenrod2*2, lightgoldenrod3*2, lightgoldenrod4*2, lightgoldenrodyellow*2, lightgray*2,
lightgreen, lightgrey*2, lightpink*2, lightpink1*2, lightpink2*2, lightpink3*2, lightpink4*2,
lightsalmon*2, lightsalmon1, lightsalmon2*2, lightsalmon3*2, lightsalmon4*2, lightseagreen*2,
lightskyblue*2, lightskyblue1, lightskyblue2*2, lightskyblue3*2, lightskyblue4*2,
lightslateblue*2, lightslategray*2, lightslategrey, lightsteelblue*3, lightsteelblue1*2,
lightsteelblue2*2, lightsteelblue3*2, lightsteelblue4*2, lightwood, lightyellow*2,
lightyellow1, lightyellow2*2, lightyellow3*2, lightyellow4*2, lime, limegreen*3, linen*2,
magenta, magenta1*2, magenta2*2, magenta3*2, magenta4, majestic purple, mandarinorange,
maroon*4, maroon1*2, maroon2*2, maroon3*2, maroon4*2, martian green, med_purple,
mediumaquamarine*3, mediumblue*3, mediumforestgreen*2, mediumgoldenrod*2, mediumorchid*3,
mediumorchid1*2, mediumorchid2*2, mediumorchid3*2, mediumorchid4*2, mediumpurple*2,
mediumpurple1*2, mediumpurple2*2, mediumpurple3*2, mediumpurple4*2, mediumseagreen*3,
mediumslateblue*3, mediumspringgreen*3, mediumturquoise*3, mediumvioletred*3, mediumwood,
midnightblue*3, mint green, mintcream*2, mistyrose*2, mistyrose1, mistyrose2*2, mistyrose3*2,
mistyrose4*2, moccasin*2, moon green, moss green, murky green, navahowhite, navahowhite1,
navahowhite2, navahowhite3, navahowhite4, navajowhite*2, navajowhite1, navajowhite2*2,
navajowhite3*2, navajowhite4*2, navy*3, navy blue, navyblue*2, neon purple, neon red,
neonblue, neonpink, newmidnightblue, newtan, ocean green, oldgold, oldlace*2, olive*2,
olive drab, olivedrab, olivedrab1*2, olivedrab2*2, olivedrab3*2, olivedrab4*2, orange*3,
orange1*2, orange2*2, orange3*2, orange4*2, orangered*3, orangered1, orangered2*2,
orangered3*2, orangered4*2, orchid*3, orchid1*2, orchid2*2, orchid3*2, orchid4*2,
pale purple, pale yellow, palegoldenrod*2, palegreen*3, palegreen1*2, palegreen2*2,
palegreen3*2, palegreen4*2, paleturquoise*2, paleturquoise1*2, paleturquoise2*2,
paleturquoise3*2, paleturquoise4*2, palevioletred*2, palevioletred1*2, palevioletred2*2,
palevioletred3*2, palevioletred4*2, papayawhip*2, pastel blue, peach, peachpuff*2,
peachpuff1, peachpuff2*2, peachpuff3*2, peachpuff4*2, peru, pink*4, pink1, pink2*2, pink3*2,
pink4*2, plum*4, plum1*2, plum2*2, plum3*2, plum4*2, powder blue, powderblue*2, purple*4,
purple1*2, purple2*2, purple3*2, purple4*2, quartz, red, red brown, red1*2, red2*2, red3,
red4, regal red, richblue, rosybrown*2, rosybrown1*2, rosybrown2*2, rosybrown3*2,
rosybrown4*2, royalblue*2, royalblue1*2, royalblue2*2, royalblue3*2, royalblue4*2, ruby red,
saddlebrown, salmon*2, salmon1*2, salmon2*2, salmon3*2, salmon4*2, sand, sandybrown*2,
scarlet, sea green, seagreen*3, seagreen1*2, seagreen2*2, seagreen3*2, seagreen4*2,
seashell*2, seashell1, seashell2*2, seashell3*2, seashell4*2, semisweetchoc, sienna*3,
sienna1*2, sienna2*2, sienna3*2, sienna4*2, silver*2, sky blue, skyblue*3, skyblue1*2,
skyblue2*2, skyblue3*2, skyblue4*2, slateblue*3, slateblue1*2, slateblue2*2, slateblue3*2,
slateblue4*2, slategray*2, slategray1*2, slategray2*2, slategray3*2, slategray4*2, slategrey,
slategrey1, slategrey2, slategrey3, slategrey4, snow*2, snow1, snow2*2, snow3*2, snow4*2,
soft pink, spicypink, spring green, springgreen*3, springgreen1*2, springgreen2*2,
springgreen3*2, springgreen4*2, steelblue*3, steelblue1*2, steelblue2*2, steelblue3*2,
steelblue4*2, storm blue, summersky, tan*3, tan1*2, tan2*2, tan3, tan4, teal, thistle,
thistle1*2, thistle2*2, thistle3*2, thistle4*2, tomato*2, tomato1, tomato2*2, tomato3*2,
tomato4, tropical pink, turquoise*4, turquoise1*2, turquoise2*2, turquoise3*2, turquoise4*2,
twilight blue, twilight violet, very_light_purple, verydarkbrown, violet*4, violetred*3,
violetred1*2, violetred2*2, violetred3*2, violetred4*2, vlightgray, vlightgrey, walnut,
wheat*3, wheat1*2, wheat2*2, wheat3*2, wheat4*2, white, whitesmoke, yellow, yellow1*2,
yellow2, yellow3, yellow4, yellowgreen*3
"""

# Rows whose value is fixed: the names shown for white, black, red and the
# dark slate grey, and the entries that sit beside them.
PINNED = {
    10: "F0FFFF", 11: "EFF7FF", 12: "F0F8FF", 59: "000000",
    234: "2F4F4F", 235: "2F4F4F", 239: "2F4F4F", 240: "25383C", 249: "2F4F4F",
    356: "BEBEBE", 357: "736F6E", 358: "808080", 359: "BFBFBF",
    360: "150517", 361: "000000", 364: "FFFFFF",
    554: "BFBFBF", 555: "BEBEBE", 556: "000000", 559: "FFFFFF",
    1095: "FF0000", 1097: "F62217", 1098: "FF0000", 1323: "FFFFFF",
}

# Colours that only their pinned rows may carry, so that the same-colour list
# of white, black, pure red and the dark slate grey stays what it is.
RESERVED = {"FFFFFF", "000000", "FF0000", "2F4F4F"}

# The CSS/SVG named colours.
CSS = """
aliceblue F0F8FF antiquewhite FAEBD7 aqua 00FFFF aquamarine 7FFFD4 azure F0FFFF
beige F5F5DC bisque FFE4C4 black 000000 blanchedalmond FFEBCD blue 0000FF
blueviolet 8A2BE2 brown A52A2A burlywood DEB887 cadetblue 5F9EA0 chartreuse 7FFF00
chocolate D2691E coral FF7F50 cornflowerblue 6495ED cornsilk FFF8DC crimson DC143C
cyan 00FFFF darkblue 00008B darkcyan 008B8B darkgoldenrod B8860B darkgray A9A9A9
darkgreen 006400 darkgrey A9A9A9 darkkhaki BDB76B darkmagenta 8B008B
darkolivegreen 556B2F darkorange FF8C00 darkorchid 9932CC darkred 8B0000
darksalmon E9967A darkseagreen 8FBC8F darkslateblue 483D8B darkslategray 2F4F4F
darkslategrey 2F4F4F darkturquoise 00CED1 darkviolet 9400D3 deeppink FF1493
deepskyblue 00BFFF dimgray 696969 dimgrey 696969 dodgerblue 1E90FF
firebrick B22222 floralwhite FFFAF0 forestgreen 228B22 fuchsia FF00FF
gainsboro DCDCDC ghostwhite F8F8FF gold FFD700 goldenrod DAA520 gray 808080
green 008000 greenyellow ADFF2F grey 808080 honeydew F0FFF0 hotpink FF69B4
indianred CD5C5C indigo 4B0082 ivory FFFFF0 khaki F0E68C lavender E6E6FA
lavenderblush FFF0F5 lawngreen 7CFC00 lemonchiffon FFFACD lightblue ADD8E6
lightcoral F08080 lightcyan E0FFFF lightgoldenrodyellow FAFAD2 lightgray D3D3D3
lightgreen 90EE90 lightgrey D3D3D3 lightpink FFB6C1 lightsalmon FFA07A
lightseagreen 20B2AA lightskyblue 87CEFA lightslategray 778899 lightslategrey 778899
lightsteelblue B0C4DE lightyellow FFFFE0 lime 00FF00 limegreen 32CD32 linen FAF0E6
magenta FF00FF maroon 800000 mediumaquamarine 66CDAA mediumblue 0000CD
mediumorchid BA55D3 mediumpurple 9370DB mediumseagreen 3CB371 mediumslateblue 7B68EE
mediumspringgreen 00FA9A mediumturquoise 48D1CC mediumvioletred C71585
midnightblue 191970 mintcream F5FFFA mistyrose FFE4E1 moccasin FFE4B5
navajowhite FFDEAD navy 000080 oldlace FDF5E6 olive 808000 olivedrab 6B8E23
orange FFA500 orangered FF4500 orchid DA70D6 palegoldenrod EEE8AA palegreen 98FB98
paleturquoise AFEEEE palevioletred DB7093 papayawhip FFEFD5 peachpuff FFDAB9
peru CD853F pink FFC0CB plum DDA0DD powderblue B0E0E6 purple 800080
rebeccapurple 663399 red FF0000 rosybrown BC8F8F royalblue 4169E1 saddlebrown 8B4513
salmon FA8072 sandybrown F4A460 seagreen 2E8B57 seashell FFF5EE sienna A0522D
silver C0C0C0 skyblue 87CEEB slateblue 6A5ACD slategray 708090 slategrey 708090
snow FFFAFA springgreen 00FF7F steelblue 4682B4 tan D2B48C teal 008080
thistle D8BFD8 tomato FF6347 turquoise 40E0D0 violet EE82EE wheat F5DEB3
white FFFFFF whitesmoke F5F5F5 yellow FFFF00 yellowgreen 9ACD32
"""

# Names that no list above knows.
HAND_PICKED = {
    "10% black": "E6E6E6", "20% black": "CCCCCC", "30% black": "B3B3B3",
    "40% black": "999999", "50% black": "808080", "60% black": "666666",
    "70% black": "4D4D4D", "80% black": "333333", "90% black": "1A1A1A",
    "army green": "4B5320", "autumn orange": "E66C2C", "avocado green": "568203",
    "baby blue": "89CFF0", "banana yellow": "FFE135", "blue purple": "5A4FCF",
    "brick red": "CB4154", "chalk": "F2F0E6", "dark brown": "5C4033",
    "deep azure": "0066CC", "deep blue": "1C1CAA", "deep navy blue": "000050",
    "deep purple": "4B0F6E", "deep river": "4A6F8A", "deep rose": "C84D73",
    "deep violet": "5A189A", "deep yellow": "FFD000", "desert blue": "4B6D9A",
    "dull green": "74A662", "dusty plum": "8E6D8E", "dusty rose": "C0868C",
    "easter purple": "C39BE1", "electric blue": "7DF9FF", "faded green": "7BB274",
    "faded pink": "DEA5A4", "ghost green": "E6F2E6", "grape": "6F2DA8",
    "grass green": "3F9B0B", "ice blue": "D6ECF3", "kentucky green": "2E7D4F",
    "light bluegreen": "7FD8C3", "light orange": "FFB266", "light violet": "D6B4FC",
    "majestic purple": "7B3F9D", "martian green": "88C540", "mint green": "98FF98",
    "moon green": "BCD4A5", "moss green": "8A9A5B", "murky green": "5A6B3C",
    "neon purple": "BC13FE", "neon red": "FF1A1A", "ocean green": "48BF91",
    "pale purple": "D6B6E6", "pale yellow": "FFFF99", "pastel blue": "AEC6CF",
    "peach": "FFE5B4", "red brown": "8B3A3A", "regal red": "C41E3A",
    "ruby red": "9B111E", "sand": "C2B280", "soft pink": "F7B6C8",
    "storm blue": "3E5A73", "tropical pink": "FF6FA5", "twilight blue": "2B3C6B",
    "twilight violet": "5B4A86", "walnut": "773F1A",
}

# Spellings that stand for a name a list knows.
SPELLINGS = {"navaho": "navajo", "slategrey": "slategray"}

# k/255 rounded to six decimals truncates to k - 1 when multiplied back by
# 255 in single precision for these k; one unit more in the last place fixes it.
COMPONENT_TEXT = {80: "0.313726", 131: "0.513726", 182: "0.713726"}

NAME_CAPACITY = 21


def parse_hex(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def hex_of(rgb):
    return "".join(f"{k:02X}" for k in rgb)


def read_x11(path):
    colours = {}
    for line in Path(path).read_text(encoding="latin-1").splitlines():
        parts = line.split()
        if len(parts) < 4 or line.startswith("!"):
            continue
        name = " ".join(parts[3:]).lower()
        colours.setdefault(name, tuple(int(p) for p in parts[:3]))
    return colours


def read_povray(path):
    """The declarations of the form rgb <r,g,b>, rgb v, White*v and
    color red r green g blue b (missing components 0)."""
    def k(v):
        return int(float(v) * 255 + 0.5)
    colours = {}
    text = Path(path).read_text(encoding="latin-1")
    for m in re.finditer(r"#declare\s+(\w+)\s*=\s*(.*?);", text):
        name, expr = m.group(1).lower(), m.group(2).strip()
        if mm := re.fullmatch(r"rgb\s*<\s*([\d.]+)\s*,\s*([\d.]+)\s*,\s*([\d.]+)\s*>", expr):
            rgb = tuple(k(v) for v in mm.groups())
        elif mm := re.fullmatch(r"(?:rgb\s+|White\s*\*\s*)([\d.]+)", expr):
            rgb = (k(mm.group(1)),) * 3
        elif re.match(r"color\s+(red|green|blue)\s", expr):
            parts = dict(re.findall(r"(red|green|blue)\s+([\d.]+)", expr))
            rgb = tuple(k(parts.get(c, 0)) for c in ("red", "green", "blue"))
        else:
            continue
        colours[name] = rgb
    return colours


def read_css():
    t = CSS.split()
    return {t[i]: parse_hex(t[i + 1]) for i in range(0, len(t), 2)}


def variant(rgb):
    """The name's colour moved 1/8 of the way to white (dark colours) or to
    black (light ones); never equal to its origin."""
    if sum(rgb) < 3 * 128:
        return tuple(k + (255 - k + 4) // 8 for k in rgb)
    return tuple(k - (k + 4) // 8 for k in rgb)


def german_entries():
    entries = []
    for item in GERMAN.replace("\n", " ").split(","):
        name, value = item.strip().rsplit("=", 1)
        entries.append((name, parse_hex(value)))
    return entries


def english_groups():
    groups = []
    for item in ENGLISH_NAMES.replace("\n", " ").split(","):
        name, _, count = item.strip().partition("*")
        groups.append((name, int(count or 1)))
    return groups


def english_entries(lists):
    entries = []
    for name, count in english_groups():
        first = len(entries) + 1
        known = [lst[name] for lst in lists if name in lst]
        if not known:
            alias = name
            for wrong, right in SPELLINGS.items():
                alias = alias.replace(wrong, right)
            flat = alias.replace(" ", "").replace("_", "")
            known = [lst[key] for lst in lists for key in lst
                     if key.replace(" ", "").replace("_", "") == flat][:1]
        if not known:
            known = [parse_hex(HAND_PICKED[name])]
        pinned = {i - first: parse_hex(PINNED[i])
                  for i in range(first, first + count) if i in PINNED}
        taken = list(pinned.values())
        queue = [rgb for rgb in known if rgb not in taken]
        values = []
        for slot in range(count):
            if slot in pinned:
                values.append(pinned[slot])
                continue
            rgb = None
            while queue and rgb is None:
                candidate = queue.pop(0)
                if candidate not in taken:
                    rgb = candidate
            if rgb is None:
                rgb = variant(known[0])
                while rgb in taken:
                    rgb = variant(rgb)
            taken.append(rgb)
            values.append(rgb)
        entries.extend((name, rgb) for rgb in values)
    return entries


def check(entries, german):
    problems = []
    for i, (name, rgb) in enumerate(entries, 1):
        if i in PINNED and hex_of(rgb) != PINNED[i]:
            problems.append(f"row {i} {name} is {hex_of(rgb)}, not {PINNED[i]}")
        if i not in PINNED and hex_of(rgb) in RESERVED:
            problems.append(f"row {i} {name} carries the reserved {hex_of(rgb)}")
    for table, label in ((german, "German"), (entries, "English")):
        names = [n.encode("latin-1") for n, _ in table]
        if names != sorted(names):
            problems.append(f"{label} names are not in byte order")
        if max(len(n) for n in names) > NAME_CAPACITY:
            problems.append(f"{label} name longer than {NAME_CAPACITY}")
    if len(entries) != 1333 or len({n for n, _ in entries}) != 795:
        problems.append("English table is not 1333 entries of 795 names")
    if len(german) != 206 or len({n for n, _ in german}) != 197:
        problems.append("German table is not 206 entries of 197 names")
    return problems


def c_string(name):
    out = []
    for byte in name.ljust(NAME_CAPACITY).encode("latin-1"):
        if byte == ord('"') or byte == ord("\\"):
            out.append("\\" + chr(byte))
        elif 32 <= byte < 127:
            out.append(chr(byte))
        else:
            out.append(f"\\{byte:03o}")  # octal: a hex escape would swallow a following letter
    return '"' + "".join(out) + '"'


def component(k):
    return COMPONENT_TEXT.get(k, f"{k / 255:.6f}") + "f"


def write_table(path, variable, accessor, entries):
    lines = [
        "// Generated by app/tools/gen_colour_tables.py; edit the script, not this file.",
        "// Names are Latin-1, padded with blanks; components are k/255 to six decimals.",
        '#include "colour_tables.h"',
        "",
        "namespace {",
        "",
        f"constexpr NamedColour {variable}[] = {{",
    ]
    for name, rgb in entries:
        values = ", ".join(component(k) for k in rgb)
        lines.append(f"    {{{c_string(name)}, {values}}},  // {hex_of(rgb)}")
    lines += [
        "};",
        "",
        "} // namespace",
        "",
        f"const NamedColourTable& {accessor}()",
        "{",
        f"    static const NamedColourTable table{{{variable}, std::size({variable})}};",
        "    return table;",
        "}",
        "",
    ]
    Path(path).write_text("\n".join(lines), encoding="ascii")


def main():
    here = Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rgb", default="/usr/share/X11/rgb.txt")
    parser.add_argument("--povray", default="/usr/share/povray-3.7/include/colors.inc")
    args = parser.parse_args()

    german = german_entries()
    english = english_entries([read_x11(args.rgb), read_css(), read_povray(args.povray)])
    problems = check(english, german)
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    write_table(here / "colour_tables_german.cpp", "kGerman", "german_colour_table", german)
    write_table(here / "colour_tables_english.cpp", "kEnglish", "english_colour_table", english)
    return 0


if __name__ == "__main__":
    sys.exit(main())
