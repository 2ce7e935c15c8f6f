{ The link application's self-check, run as a test: the window is read
  from its form file, shown, and worked as a person would. Every outcome
  the self-check names must hold. }
unit Orvtestlinkapp;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry;

type
  TTestLinkApp = class(TTestCase)
  published
    procedure TestSelfCheckHolds;
    procedure TestLinksLetGoOfAnEditTakenOut;
    procedure TestFormFileChecksClean;
  end;

implementation

uses
  Forms, StdCtrls,
  Orvcommon, Orvlinkcheck, Orvlinkappform, Orvlinkappcheck;

procedure TTestLinkApp.TestSelfCheckHolds;
var
  Form: TLinkAppForm;
  Log: TStringList;
  Checker: TorvLinkAppCheck;
begin
  Log := TStringList.Create;
  Form := TLinkAppForm.Create(nil);
  try
    Form.Show;
    Checker := TorvLinkAppCheck.Create(Form, Log);
    try
      if not Checker.Run then
        Fail(Format('%d outcome(s) did not hold:', [Checker.Failures]) + LineEnding + Log.Text);
      AssertTrue('the check went through every step', Log.Count > 40);
    finally
      Checker.Free;
    end;
  finally
    Form.Free;
    Log.Free;
  end;
end;

procedure TTestLinkApp.TestLinksLetGoOfAnEditTakenOut;
var
  Form: TLinkAppForm;
  Edit: TEdit;
begin
  // An edit taken out of the form is gone for the form's links: they let
  // go of it, so its changes reach nothing, neither while the form lives
  // nor after it and its links are freed.
  Form := TLinkAppForm.Create(nil);
  Edit := Form.Edit1;
  try
    try
      Form.RemoveComponent(Edit);
      Edit.Parent := nil;
      Edit.Text := 'taken out';
      AssertEquals('the label no longer follows', 'Hello', Form.Label1.Caption);
      AssertNull('the link let go of its source', Form.FollowText.Source);
    finally
      Form.Free;
    end;
    Edit.Text := 'after the form';
    AssertEquals('after the form', Edit.Text);
  finally
    Edit.Free;
  end;
end;

procedure TTestLinkApp.TestFormFileChecksClean;
var
  Report: TStringList;
  Counts: TorvCheckCounts;
begin
  // What the form checker says of the form file that the window is read
  // from: every link resolves, with nothing to warn about.
  Report := TStringList.Create;
  try
    Counts := CheckFormFile(ExtractFilePath(ParamStr(0)) + '../examples/orvlinkappform.lfm',
      Report);
    AssertEquals(Report.Text, 8, Counts.Links);
    AssertEquals(Report.Text, 8, Counts.Ok);
    AssertEquals(Report.Text, 0, Counts.Warnings);
  finally
    Report.Free;
  end;
end;

initialization
  RegisterTest('Examples', TTestLinkApp);
end.
