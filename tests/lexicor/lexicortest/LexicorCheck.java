package lexicortest;

import com.corvantis.quillory.database.Word;
import java.util.stream.Collectors;

/**
 * liblexicor.so in a real JVM, driven the way the application drives it.
 * Prints one line per check and exits non-zero when any fails. The lines
 * "set-up: first" and "set-up: again" mark where the library's own "...init"
 * line may appear; run-jvm-check looks at that.
 */
public final class LexicorCheck {
    private static int failures = 0;

    private static void expect(String what, int actual, int expected) {
        String verdict = actual == expected ? "ok  " : "FAIL";
        if (actual != expected) {
            failures++;
        }
        System.out.printf("%s %s: %d (expected %d)%n", verdict, what, actual, expected);
    }

    private static void expectWord(String word, int syllables, int difficulty) {
        String shown = word.length() > 40
            ? word.substring(0, 12) + "... (" + word.length() + " characters)"
            : word.codePoints().mapToObj(c -> c >= 0x20 && c < 0x7f
                  ? String.valueOf((char) c) : String.format("\\u{%x}", c))
                  .collect(Collectors.joining());
        expect("syllables of \"" + shown + "\"", Word._calcNbSyllables(word), syllables);
        expect("difficulty of \"" + shown + "\"", Word._calcDifficulty(word), difficulty);
    }

    public static void main(String[] args) {
        // Before any set-up there are no letter classes and no levels: only
        // digits count, and nothing is rated.
        expectWord("Schule", 0, 0);
        expectWord("Straße", 0, 0);
        expectWord("123", 3, 0);
        expectWord("", 0, 0);

        // A null media directory is served as the empty one: the first
        // set-up is made with it.
        System.out.println("set-up: first");
        expect("_nativeInit with null", Word._nativeInit(1, null), 0);
        System.out.println("set-up: again");
        expect("second _nativeInit", Word._nativeInit(1, "C:\\Quillory\\media"), 0);
        expect("third _nativeInit", Word._nativeInit(4, "elsewhere"), 0);
        System.out.println("set-up: done");

        expectWord("Schule", 2, 8);
        expectWord("Straße", 2, 10);
        expectWord("Wasser", 2, 10);
        expectWord("Tomatensalat", 5, 5);
        expectWord("123", 3, 3);
        expectWord("", 0, 0);
        // Hyphens in the text are separators, not a hyphenation.
        expectWord("Scho-ko-la-de", 4, 8);
        expectWord("ÄRGER", 2, 8);
        expectWord("Häuser", 2, 9);
        expectWord("Übung", 2, 9);
        expectWord("Kuh", 1, 5);
        expectWord("Haus Maus", 3, 3);

        // Null words give 0 and leave no exception behind.
        expect("syllables of null", Word._calcNbSyllables(null), 0);
        expect("difficulty of null", Word._calcDifficulty(null), 0);

        // Characters outside code page 1252 arrive as its substitutes: Latin
        // letters as their base letter, anything else as "?".
        expectWord("Łódź", 1, 6);
        expect("\"Łódź\" rated as \"Lódz\"", Word._calcDifficulty("Łódź"),
               Word._calcDifficulty("Lódz"));
        expectWord("日本語", 0, 0);
        expectWord("\uD83D\uDE00", 0, 0);
        // The substitute after a consonant is a separator and ends a syllable.
        expectWord("Haus\uD83D\uDE00", 2, 2);
        expectWord("\uD800x", 1, 10);
        expectWord("Ha\u0000us", 2, 2);
        expectWord("Schule".repeat(10000), 20000, 8);

        if (failures > 0) {
            System.out.println(failures + " check(s) failed");
            System.exit(1);
        }
        System.out.println("all checks passed");
    }
}
